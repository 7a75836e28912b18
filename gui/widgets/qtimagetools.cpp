#include "qtimagetools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <cstdio>

void guiWidgetsInitResources()
{
    Q_INIT_RESOURCE(widgets);
}

namespace QtImageTools {

namespace {

// Working directory of the program, made when missing, before main runs.
QDir& cacheDirectory()
{
    static QDir dir = [] {
        guiWidgetsInitResources();
        QDir d{QString()};
        if (!d.exists())
            d.mkpath(QStringLiteral("."));
        return d;
    }();
    return dir;
}

const QDir& kStartUp = cacheDirectory();

const bool kMemoryCache = true;
const bool kDiskCache = true;

bool isSvgPath(const QString& path)
{
    return path.endsWith(QLatin1String("svg"), Qt::CaseInsensitive);
}

}  // namespace

const char* CouldNotLoadSvg::what() const noexcept
{
    return "Could not load the SVG file";
}

QString cacheFileName(const QString& path, const QSize& size, bool hardAlpha)
{
    QString name = QStringLiteral("%1[%2x%3]%4.%5")
                       .arg(path)
                       .arg(size.width())
                       .arg(size.height())
                       .arg(hardAlpha ? QStringLiteral("A") : QString())
                       .arg(QStringLiteral("png"));
    name.replace(QLatin1Char(':'), QLatin1Char('-'));
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.remove(QStringLiteral(".svg"));
    return cacheDirectory().absolutePath() + QLatin1Char('/') + name;
}

void binarizeAlpha(QImage& image)
{
    if (!image.hasAlphaChannel())
        return;
    if (image.depth() != 32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QRgb pixel = image.pixel(x, y);
            const int a = qAlpha(pixel);
            if (a == 0 || a == 255)
                continue;
            image.setPixel(x, y, qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), a < 128 ? 0 : 255));
        }
    }
}

QPixmap renderSvg(const QString& path, const QSize& size, bool hardAlpha, Qt::AspectRatioMode mode)
{
    if (path.isEmpty() || !isSvgPath(path))
        return QPixmap();
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        throw CouldNotLoadSvg();
    QSize target = renderer.defaultSize();
    target.scale(size, mode);
    QImage image(target, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (hardAlpha)
        binarizeAlpha(image);
    return QPixmap::fromImage(image);
}

QPixmap toPixmap(const QString& path, const QSize& size, bool hardAlpha, Qt::AspectRatioMode mode)
{
    if (path.isEmpty())
        return QPixmap();
    if (isSvgPath(path)) {
        try {
            return renderSvg(path, size, hardAlpha, mode);
        } catch (const CouldNotLoadSvg&) {
            return QPixmap();
        }
    }
    QImage image(path);
    if (image.isNull())
        return QPixmap();
    image = image.scaled(size, mode, Qt::FastTransformation);
    if (hardAlpha)
        binarizeAlpha(image);
    return QPixmap::fromImage(image);
}

QPixmap loadPixmap(const QString& path, const QSize& size, bool hardAlpha, Qt::AspectRatioMode mode)
{
    if (path.isEmpty())
        return QPixmap();
    const QString name = cacheFileName(path, size, hardAlpha);
    QPixmap pixmap;
    if (kMemoryCache && QPixmapCache::find(name, &pixmap))
        return pixmap;

    const QFileInfo file(name);
    if (file.size() == 0) {
        std::printf("Empty cache file: %s\n", name.toLocal8Bit().constData());
        std::fflush(stdout);
    } else {
        pixmap.load(name, "PNG");
    }

    if (pixmap.isNull()) {
        if (isSvgPath(path)) {
            pixmap = renderSvg(path, size, hardAlpha, mode);
            if (kDiskCache) {
                // Written under a temporary name and renamed, so that an interrupted
                // write never leaves a truncated file under the final name.
                const QString temporary = name + QLatin1Char('~');
                QFile::remove(temporary);
                if (pixmap.save(temporary, "PNG", 100)) {
                    QFile::remove(name);
                    QFile::rename(temporary, name);
                }
            }
        } else {
            pixmap = toPixmap(path, size, hardAlpha, mode);
        }
    }
    if (kMemoryCache)
        QPixmapCache::insert(name, pixmap);
    return pixmap;
}

QPixmap loadPixmap(const char* path, const QSize& size, bool hardAlpha, Qt::AspectRatioMode mode)
{
    return loadPixmap(QString::fromLatin1(path), size, hardAlpha, mode);
}

}  // namespace QtImageTools
