// The tools menu: the calculator window centred at 460 x 242 and kept between
// openings, the converter on page 1, home and back from the converter, the
// bar's ignored ids, and the screen.
#include "calculatorwidget.h"
#include "kestrompushbutton.h"
#include "miscunitsconverter.h"
#include "qtelidedlabel.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "toolsviewmisc.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStackedWidget>

using namespace ToolsViewWidgets;

namespace {

struct Menu {
    explicit Menu(ScreenFixture& f) : menu(new ToolsViewMisc)
    {
        f.place(menu, QPoint(0, 0), QSize(480, 272));
    }
    KestromPushButton* button(const char* name) const
    {
        auto* found = menu->findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    KestromPushButton* calculatorKey(const QString& label) const
    {
        for (KestromPushButton* key : menu->calculator()->findChildren<KestromPushButton*>())
            if (key->text() == label)
                return key;
        FAIL("no key " << label.toStdString());
        return nullptr;
    }
    ToolsViewMisc* menu;
};

}  // namespace

TEST_CASE("tools menu: the calculator opens centred and keeps its display and memory")
{
    ScreenFixture f;
    Menu m(f);
    CHECK(m.menu->pageStack()->widget(0)->findChild<QtElidedLabel*>("m_pathwayLabel")->text() == "Tools");
    CHECK(m.button("m_calculatorButton")->text() == "Calculator");
    CHECK(m.button("m_converterButton")->text() == "Units Converter");
    CalculatorWidget* calc = m.menu->calculator();
    CHECK(calc->parentWidget() == nullptr);
    CHECK_FALSE(calc->isVisible());

    tapButton(m.button("m_calculatorButton"));
    REQUIRE(calc->isVisible());
    CHECK(calc->frameGeometry() == QRect(10, 15, 460, 242));
    CHECK(calc->isModal());
    CHECK_FALSE(calc->findChild<KestromPushButton*>("m_doneButton")->isVisible());
    CHECK(calc->findChild<QtElidedLabel*>() == nullptr);
    CHECK_SCREEN(f.screen(), "tools_calculator");

    for (const char* key : {"4", "2", "MS", "+", "1"})
        tapButton(m.calculatorKey(key));
    tapButton(calc->findChild<KestromPushButton*>("m_cancelButton"));
    CHECK_FALSE(calc->isVisible());
    tapButton(m.button("m_calculatorButton"));
    REQUIRE(calc->isVisible());
    CHECK(calc->display()->text() == "1");
    tapButton(m.calculatorKey("="));
    CHECK(calc->display()->text() == "43");
    tapButton(m.calculatorKey("MR"));
    CHECK(calc->display()->text() == "42");
    calc->close();
}

TEST_CASE("tools menu: the converter on page 1; back and home return to the button page")
{
    ScreenFixture f;
    Menu m(f);
    QSignalSpy home(m.menu, &ToolsViewMisc::ShowHomeView);
    QStackedWidget* stack = m.menu->pageStack();
    CHECK(stack->currentIndex() == 0);

    tapButton(m.button("m_converterButton"));
    CHECK(stack->currentIndex() == 1);
    CHECK(stack->currentWidget() == m.menu->converterPage());
    tapButtonBar(m.menu->converterPage(), ToolsViewButtonBar::Back);
    CHECK(stack->currentIndex() == 0);
    CHECK(home.count() == 0);

    tapButton(m.button("m_converterButton"));
    // The page is back on its button page by the time the home view is asked for.
    int indexAtHome = -1;
    QObject::connect(m.menu, &ToolsViewMisc::ShowHomeView, [&] { indexAtHome = stack->currentIndex(); });
    tapButtonBar(m.menu->converterPage(), ToolsViewButtonBar::Home);
    CHECK(home.count() == 1);
    CHECK(indexAtHome == 0);
    CHECK(stack->currentIndex() == 0);
}

TEST_CASE("tools menu: only home on its own bar; other ids do nothing")
{
    ScreenFixture f;
    Menu m(f);
    QWidget* top = m.menu->pageStack()->widget(0);
    CHECK_FALSE(buttonBarButton(top, ToolsViewButtonBar::Back)->isVisible());
    CHECK_FALSE(buttonBarButton(top, ToolsViewButtonBar::Next)->isVisible());
    QSignalSpy home(m.menu, &ToolsViewMisc::ShowHomeView);
    tapButton(m.button("m_converterButton"));
    m.menu->handleButtonBarPressed(ToolsViewButtonBar::Back);
    m.menu->handleButtonBarPressed(ToolsViewButtonBar::Next);
    CHECK(home.count() == 0);
    CHECK(m.menu->pageStack()->currentIndex() == 1);
    m.menu->showTopPage();
    tapButtonBar(top, ToolsViewButtonBar::Home);
    CHECK(home.count() == 1);
    CHECK(m.button("m_calculatorButton")->minimumSize() == GuiGeometry::menuButtonSize());
    CHECK(m.button("m_converterButton")->minimumSize() == GuiGeometry::menuButtonSize());
    CHECK_SCREEN(f.screen(), "tools_menu");
}
