#pragma once
// Pictures for the GUI: SVG drawings of the built-in resources rendered once
// per size and kept in Qt's pixmap cache and as PNG files in the working
// directory, so that a later start reads the PNG instead of rendering again.
// GUI thread only.
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <exception>

namespace QtImageTools {

class CouldNotLoadSvg : public std::exception {
public:
    const char* what() const noexcept override;
};

// The cached loader. Throws CouldNotLoadSvg for an SVG path that does not render.
QPixmap loadPixmap(const QString& path, const QSize& size, bool hardAlpha, Qt::AspectRatioMode mode);
QPixmap loadPixmap(const char* path, const QSize& size, bool hardAlpha, Qt::AspectRatioMode mode);

// Renders an SVG file; null for an empty path or one not ending in "svg";
// throws CouldNotLoadSvg when the file is not a valid SVG.
QPixmap renderSvg(const QString& path, const QSize& size, bool hardAlpha, Qt::AspectRatioMode mode);
// SVG or raster picture without any cache; null when it cannot be loaded.
QPixmap toPixmap(const QString& path, const QSize& size, bool hardAlpha, Qt::AspectRatioMode mode);
// Every pixel becomes fully opaque (alpha 128 and above) or fully transparent.
void binarizeAlpha(QImage& image);
// Absolute name of the cache file (and the memory cache key).
QString cacheFileName(const QString& path, const QSize& size, bool hardAlpha);

}  // namespace QtImageTools

// Registers the widget kit's compiled-in pictures. Users of the static
// library need not call it: the image tools do on program start.
void guiWidgetsInitResources();
