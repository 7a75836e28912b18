#include "greyfellcommon.h"
#include "gui_test.h"
#include "sysroot.h"
#include "test_capture.h"
#include "test_root.h"
#include "thumbdrivewatcher.h"

#include <doctest/doctest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>

namespace {

struct Watcher : WithGuiApplication {
    Watcher() : mount(GreyfellCommon::usbRootPath()), watcher(mount.toStdString()) {}
    TestRoot root;
    QString mount;
    CThumbDriveWatcher watcher;
};

}  // namespace

TEST_CASE("a stick plugged in and pulled out is announced 1000 ms after each change")
{
    Watcher f;
    REQUIRE(f.mount.startsWith(QString::fromStdString(f.root.dir())));
    CHECK_FALSE(f.watcher.isPresent());
    QSignalSpy inserted(&f.watcher, &CThumbDriveWatcher::Inserted);
    QSignalSpy removed(&f.watcher, &CThumbDriveWatcher::Removed);
    QSignalSpy changed(&f.watcher, &CThumbDriveWatcher::Changed);
    StdoutCapture out(f.root.path("/tmp/watcher.out"));

    QElapsedTimer timer;
    timer.start();
    REQUIRE(QDir().mkpath(f.mount));
    REQUIRE(changed.wait(5000));
    CHECK(timer.elapsed() >= 1000);
    CHECK(f.watcher.isPresent());
    CHECK(inserted.count() == 1);
    CHECK(removed.count() == 0);
    CHECK(changed.takeFirst().at(0).toBool() == true);
    CHECK(out.peek() == "$PMDT,Directory changed.  Thumbdrive is present.\n");

    REQUIRE(QDir(f.mount).removeRecursively());
    REQUIRE(changed.wait(5000));
    CHECK_FALSE(f.watcher.isPresent());
    CHECK(removed.count() == 1);
    CHECK(changed.takeFirst().at(0).toBool() == false);
    CHECK(out.text() ==
          "$PMDT,Directory changed.  Thumbdrive is present.\n$PMDT,Directory changed.  Thumbdrive is removed.\n");
}

TEST_CASE("an unrelated entry in the parent directory gives another evaluation")
{
    Watcher f;
    REQUIRE(QDir().mkpath(f.mount));
    QSignalSpy inserted(&f.watcher, &CThumbDriveWatcher::Inserted);
    QSignalSpy changed(&f.watcher, &CThumbDriveWatcher::Changed);
    StdoutCapture out(f.root.path("/tmp/watcher.out"));
    REQUIRE(QDir().mkpath(QString::fromStdString(f.root.path("/media/other"))));
    REQUIRE(changed.wait(5000));
    CHECK(inserted.count() == 1);
    CHECK(out.text() == "$PMDT,Directory changed.  Thumbdrive is present.\n");
}

TEST_CASE("a media directory missing at start: its appearance is noticed, then its sticks")
{
    guiApplication();
    TestRoot root;
    const QString media = QString::fromStdString(root.path("/media"));
    const QString mount = GreyfellCommon::usbRootPath();
    REQUIRE(mount.startsWith(media + "/"));

    SUBCASE("the directory comes first, the stick later")
    {
        REQUIRE(QDir(media).removeRecursively());
        CThumbDriveWatcher watcher(mount.toStdString());
        QSignalSpy changed(&watcher, &CThumbDriveWatcher::Changed);
        REQUIRE(QDir().mkpath(media));
        REQUIRE(changed.wait(5000));
        CHECK(changed.takeFirst().at(0).toBool() == false);
        QSignalSpy inserted(&watcher, &CThumbDriveWatcher::Inserted);
        REQUIRE(QDir().mkpath(mount));
        REQUIRE(inserted.wait(5000));
        CHECK(watcher.isPresent());
    }
    SUBCASE("two levels missing, created together with the stick")
    {
        REQUIRE(QDir(media).removeRecursively());
        const QString deeper = media + "/usb/sda1";
        CThumbDriveWatcher watcher(deeper.toStdString());
        QSignalSpy inserted(&watcher, &CThumbDriveWatcher::Inserted);
        REQUIRE(QDir().mkpath(media + "/usb"));
        // The stick comes before the watch can have moved down a level.
        REQUIRE(QDir().mkpath(deeper));
        REQUIRE(inserted.wait(5000));
        CHECK(watcher.isPresent());
    }
    SUBCASE("the media directory goes away and comes back with a stick")
    {
        CThumbDriveWatcher watcher(mount.toStdString());
        QSignalSpy changed(&watcher, &CThumbDriveWatcher::Changed);
        REQUIRE(QDir(media).removeRecursively());
        REQUIRE(changed.wait(5000));
        CHECK(changed.takeFirst().at(0).toBool() == false);
        QSignalSpy inserted(&watcher, &CThumbDriveWatcher::Inserted);
        REQUIRE(QDir().mkpath(mount));
        REQUIRE(inserted.wait(5000));
        CHECK(watcher.isPresent());
    }
}

TEST_CASE("presence: a mount point, the root, or on the stand-in board a directory at the mount path")
{
    guiApplication();
    TestRoot root;
    const std::string inside = root.path("/media/sda1");
    QDir().mkpath(QString::fromStdString(inside));
    struct Case {
        std::string path;
        bool present;
    };
    const Case cases[] = {
        {"/", true},                         // the root counts, whatever the devices
        {"/proc", true},                     // a mount point: another device than its parent
        {inside, true},                      // stand-in: the directory is the stick
        {root.path("/media/sdb1"), false},   // nothing there
        {"relative", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        CHECK(CThumbDriveWatcher(c.path).isPresent() == c.present);
    }
    // Outside the stand-in root a plain directory (the test program's own) is not a mount point.
    CHECK_FALSE(CThumbDriveWatcher(QCoreApplication::applicationDirPath().toStdString()).isPresent());
}
