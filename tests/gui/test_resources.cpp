// Every picture that the GUI's sources name by a fixed resource path is built
// in and renders: a missing one would throw from the pixmap loader on a page.
#include "gui_test.h"
#include "nozimage.h"
#include "qtimagetools.h"

#include <doctest/doctest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QResource>
#include <QSet>

namespace {

QString sourceRoot()
{
    return QStringLiteral(CONSOLE_SOURCE_DIR "/gui");
}

}  // namespace

TEST_CASE("every fixed resource path in the GUI's sources exists and renders")
{
    guiApplication();
    guiInitResources();
    REQUIRE(QFileInfo(sourceRoot() + "/mainwindow.cpp").exists());
    const QRegularExpression pattern(QStringLiteral("\":(/[A-Za-z0-9_./-]+\\.(svg|png|qss))\""));
    QSet<QString> paths;
    QDirIterator files(sourceRoot(), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    int sources = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        REQUIRE(file.open(QIODevice::ReadOnly));
        ++sources;
        const QString text = QString::fromUtf8(file.readAll());
        auto match = pattern.globalMatch(text);
        while (match.hasNext())
            paths.insert(QStringLiteral(":") + match.next().captured(1));
    }
    CHECK(sources > 10);
    CHECK(paths.contains(":/images/home.svg"));
    for (const QString& path : paths) {
        CAPTURE(path.toStdString());
        CHECK(QResource(path).isValid());
        if (path.endsWith(".svg")) {
            QPixmap pixmap;
            CHECK_NOTHROW(pixmap = QtImageTools::renderSvg(path, QSize(40, 40), false, Qt::KeepAspectRatio));
            CHECK_FALSE(pixmap.isNull());
        }
    }
}
