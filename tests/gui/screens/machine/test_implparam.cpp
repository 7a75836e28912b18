// The implement parameters menu and the way through its pages.
#include "configmachineimplparam.h"
#include "configmachineimplparamnozsetup.h"
#include "configmachineimplparamnozsetup2.h"
#include "configmachineimplparamregparam.h"
#include "configmachineimplparamsectwidth.h"
#include "nozzle_fixture.h"
#include "screen_check.h"
#include "settingpage_drive.h"

#include <QSignalSpy>
#include <QStackedWidget>

using namespace ToolsViewWidgets;

namespace {

struct MenuFixture : NozzleFixture {
    MenuFixture()
    {
        setItem(DS_NUMBER_OF_SECTIONS, 9);
        setItem(DS_TIP_SPACING, 500);
        menu = new ConfigMachineImplParam(page());
        place(menu, QPoint(0, 0), QSize(480, 272));
    }
    QWidget* current() const { return menu->stack()->currentWidget(); }
    KestromPushButton* menuButton(const char* name) const { return menu->findChild<KestromPushButton*>(name); }

    ConfigMachineImplParam* menu;
};

}  // namespace

TEST_CASE("implement menu: buttons lead to the pages, in the stack's order")
{
    MenuFixture f;
    CHECK(f.menu->stack()->currentIndex() == 0);
    CHECK(pathwayText(f.current()) == "...Machine->Implement Parameters");
    CHECK(qobject_cast<ConfigMachineImplParamSectWidth*>(f.menu->stack()->widget(1)) != nullptr);
    CHECK(qobject_cast<ConfigMachineImplParamNozSetup*>(f.menu->stack()->widget(2)) != nullptr);
    CHECK(qobject_cast<ConfigMachineImplParamNozSetup2*>(f.menu->stack()->widget(3)) != nullptr);
    CHECK(qobject_cast<ConfigMachineImplParamRegParam*>(f.menu->stack()->widget(4)) != nullptr);
    CHECK_FALSE(buttonBarButton(f.current(), ToolsViewButtonBar::Next)->isVisible());
    CHECK_SCREEN(f.screen(), "implparam_menu");

    struct Case {
        const char* button;
        const char* text;
        int index;
    };
    for (const Case& c : {Case{"m_btnSectionConfiguration", "Section Configuration", 1},
                          Case{"m_btnTipPresetSetup", "Tip Preset Setup", 2},
                          Case{"m_btnRegulationParameters", "Regulation Parameters", 4}}) {
        CAPTURE(c.button);
        KestromPushButton* button = f.menuButton(c.button);
        REQUIRE(button != nullptr);
        CHECK(button->text() == c.text);
        CHECK(button->id() == c.index);
        tapButton(button);
        CHECK(f.menu->stack()->currentIndex() == c.index);
        // Back on the page returns to the menu's buttons.
        tapButtonBar(f.current(), ToolsViewButtonBar::Back);
        CHECK(f.menu->stack()->currentIndex() == 0);
    }

    QSignalSpy back(f.menu, &ConfigMachineImplParam::goBack);
    tapButtonBar(f.current(), ToolsViewButtonBar::Back);
    CHECK(back.count() == 1);
}

TEST_CASE("implement menu: next toggles the tip pages; home returns to the buttons and passes on once")
{
    MenuFixture f;
    QSignalSpy home(f.menu, &ConfigMachineImplParam::ShowHomeView);
    tapButton(f.menuButton("m_btnTipPresetSetup"));
    CHECK(pathwayText(f.current()) == "...Implement Parameters->Tip Preset Setup (1)");
    tapButtonBar(f.current(), ToolsViewButtonBar::Next);
    CHECK(f.menu->stack()->currentIndex() == 3);
    CHECK(pathwayText(f.current()) == "...Implement Parameters->Tip Preset Setup (2)");
    tapButtonBar(f.current(), ToolsViewButtonBar::Next);
    CHECK(f.menu->stack()->currentIndex() == 2);
    tapButtonBar(f.current(), ToolsViewButtonBar::Next);
    CHECK(f.menu->stack()->currentIndex() == 3);

    tapButtonBar(f.current(), ToolsViewButtonBar::Home);
    CHECK(f.menu->stack()->currentIndex() == 0);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);

    // The regulation page's next leads nowhere; the menu's own next neither.
    tapButton(f.menuButton("m_btnRegulationParameters"));
    static_cast<ConfigMachineImplParamRegParam*>(f.current())->handleButtonBarPressed(ToolsViewButtonBar::Next);
    f.menu->showNextPage();
    CHECK(f.menu->stack()->currentIndex() == 4);
    tapButtonBar(f.current(), ToolsViewButtonBar::Home);
    CHECK(f.menu->stack()->currentIndex() == 0);
    CHECK(home.count() == 2);
    f.menu->handleButtonBarPressed(ToolsViewButtonBar::Next);
    CHECK(f.menu->stack()->currentIndex() == 0);
    CHECK(home.count() == 2);

    // A preset chosen on the first page shows its tip's data on the second.
    NozzleFixture::setPreset(3, 6, 1);
    REQUIRE(nozinfoSetCustomRefPress(6, 1, 275) == 1);
    tapButton(f.menuButton("m_btnTipPresetSetup"));
    tapButton(f.current()->findChild<KestromPushButton*>("m_btnNozzlePresetValue"));
    chooseGridOption(shownButtonGrid(), 3);
    tapButtonBar(f.current(), ToolsViewButtonBar::Next);
    CHECK(valueButton(f.current(), 3)->text() == "2.75 bar");
}
