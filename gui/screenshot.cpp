#include "screenshot.h"

#include "greyfellcommon.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <unistd.h>

namespace {

QDir& screenShotDir()
{
    static QDir dir{QString()};
    return dir;
}

int screenShotCounter = 0;
bool screenShotDirReady = false;

}  // namespace

QString screenShotFileName()
{
    return screenShotDir().absoluteFilePath(QStringLiteral("shot%1.png").arg(screenShotCounter, 3, 10, QChar('0')));
}

void screenShotFindFreeName()
{
    while (QFile::exists(screenShotFileName()))
        ++screenShotCounter;
}

void screenShotSave(QWidget* widget, QString& fileName)
{
    if (widget == nullptr)
        widget = QApplication::activeWindow();
    QImage image;
    if (widget != nullptr) {
        image = QImage(widget->size(), QImage::Format_ARGB32);
        QPainter painter(&image);
        widget->render(&painter, QPoint(0, 0), QRegion(),
                       QWidget::RenderFlags(QWidget::DrawWindowBackground | QWidget::DrawChildren));
        painter.end();
    }
    if (screenShotDir().exists()) {
        if (fileName.isEmpty()) {
            screenShotFindFreeName();
            fileName = screenShotFileName();
        }
        image.save(fileName, "PNG", 100);
    }
    sync();
}

bool screenShotInit()
{
    if (screenShotDirReady)
        return false;
    screenShotCounter = 0;
    screenShotDir().setPath(GreyfellCommon::usbRootPath());
    screenShotDirReady = screenShotDir().exists();
    return true;
}
