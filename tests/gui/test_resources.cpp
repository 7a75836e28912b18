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

TEST_CASE("the built-in style sheets are the six colour schemes' and no other")
{
    guiApplication();
    guiInitResources();
    QFile list(sourceRoot() + "/screens/console/console.qrc");
    REQUIRE(list.open(QIODevice::ReadOnly));
    const QString qrc = QString::fromUtf8(list.readAll());
    QStringList listed;
    auto match = QRegularExpression(QStringLiteral("<file>(stylesheets/[^<]+)</file>")).globalMatch(qrc);
    while (match.hasNext())
        listed.append(match.next().captured(1));
    listed.sort();
    CHECK(listed.join(" ").toStdString() ==
          "stylesheets/velmar_casered.qss stylesheets/velmar_day.qss stylesheets/velmar_highviz.qss "
          "stylesheets/velmar_jdgreen.qss stylesheets/velmar_lightpurple.qss stylesheets/velmar_night.qss");
    const QStringList onDisk = QDir(sourceRoot() + "/screens/console/stylesheets").entryList(QDir::Files, QDir::Name);
    CHECK(onDisk.join(" ").toStdString() ==
          "velmar_casered.qss velmar_day.qss velmar_highviz.qss velmar_jdgreen.qss velmar_lightpurple.qss "
          "velmar_night.qss");
    for (const char* provisional : {":/stylesheets/field.qss", ":/stylesheets/day.qss", ":/stylesheets/night.qss"}) {
        CAPTURE(provisional);
        CHECK_FALSE(QResource(QString::fromLatin1(provisional)).isValid());
    }
}
