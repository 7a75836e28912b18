// The maker-service page with the real process core on the program's stand-in
// board: the core rewrites its section-switch file from the page's event.
#include "settingpage_drive.h"
#include "configvelmaronly.h"
#include "core_inprocess.h"
#include "screen_fixture.h"
#include "storage.h"

#include <QFile>

using ToolsViewWidgets::ConfigVelmarOnly;

namespace {

struct CoreScreen {
    CoreScreen()
    {
        guiApplication();
        REQUIRE(coreStartInProcess());
    }
};

struct Fixture : CoreScreen, ScreenFixture {};

QByteArray switchFile()
{
    QFile file(QString::fromStdString(clShareDir()) + "/noOfPhysicalSectionSwitch");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST_CASE("maker-service page: the core writes the switch count and the 13-section flag to its file")
{
    Fixture f;
    f.setItem(DS_PHYS_SECTION_SWITCHES, 6);
    f.setItem(DS_HW_13_SECTIONS, 0);
    auto* page = new ConfigVelmarOnly(f.page());
    f.place(page, QPoint(0, 0), QSize(480, 272));

    tapButton(valueButton(page, ConfigVelmarOnly::SwitchesRow));
    keypadType(shownKeypad(), "9");
    keypadAccept(shownKeypad());
    takePostedEvents();
    CHECK(switchFile().startsWith("9;0;"));

    tapButton(valueButton(page, ConfigVelmarOnly::ThirteenSectionsRow));
    takePostedEvents();
    CHECK(switchFile().startsWith("9;1;"));

    tapButton(valueButton(page, ConfigVelmarOnly::SwitchesRow));
    keypadType(shownKeypad(), "7");
    keypadAccept(shownKeypad());
    takePostedEvents();
    CHECK(switchFile().startsWith("7;0;"));
}
