// The working screen's widgets reach the framework services through their own
// library: this program links the screens' library, not the framework, and the
// services work there on their own (the nozzle drawings register themselves).
#include "greyfellcommon.h"
#include "gui_test.h"
#include "nozimage.h"
#include "noztables.h"
#include "test_root.h"
#include "thumbdrivewatcher.h"

#include <doctest/doctest.h>

#include <QDir>
#include <QResource>

TEST_CASE("nozzle pictures draw without the framework's resource registration")
{
    guiApplication();
    NozImage::NozzleImage* images = NozImage::NozzleImage::instance();
    uint32_t catalogueType = 0;
    while (catalogueType < NOZZLE_TYPE_COUNT && nozzleTypeFamily(catalogueType) == 0)
        ++catalogueType;
    REQUIRE(catalogueType < NOZZLE_TYPE_COUNT);
    const QString drawing = images->imagePath(static_cast<int>(catalogueType), 0);
    CHECK(drawing.startsWith(":/imagelibrary/"));
    CHECK(QResource(drawing).isValid());
    CHECK(QResource(":/images/tip_unknown.svg").isValid());
    const QImage unknown = images->getNozzleImage(-1, -1, QSize(40, 40)).toImage();
    REQUIRE(unknown.size() == QSize(40, 40));
    CHECK(unknown.pixelColor(20, 24).alpha() == 255);
}

TEST_CASE("a screen's own USB stick watcher sees the mounted stick")
{
    guiApplication();
    TestRoot root;
    const QString mount = GreyfellCommon::usbRootPath();
    REQUIRE(mount.startsWith(QString::fromStdString(root.dir())));
    CHECK_FALSE(CThumbDriveWatcher(mount.toStdString()).isPresent());
    REQUIRE(QDir().mkpath(mount));
    CHECK(CThumbDriveWatcher(mount.toStdString()).isPresent());
}
