// The section configuration page over the real datastore, section tip table and dispatcher.
#include "cfgdt_if.h"
#include "configmachineimplparamsectwidth.h"
#include "eventids.h"
#include "guigeometry.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "units.h"

#include <QSignalSpy>

using ToolsViewWidgets::ConfigMachineImplParamSectWidth;

namespace {

enum { SectionRow = 0, TipsRow = 1, CopyRow = 2, WidthRow = 3 };

// sections sections, section s with tips(s) tips, tips 50.0 cm apart.
template <class Tips>
void setSections(ScreenFixture& f, uint32_t sections, Tips tips)
{
    f.setItem(DS_NUMBER_OF_SECTIONS, sections);
    f.setItem(DS_TIP_SPACING, 500);
    for (uint32_t s = 1; s <= sections; ++s)
        cfgdtSetSectionTips(s, tips(s));
}

void setSections(ScreenFixture& f, uint32_t sections)
{
    setSections(f, sections, [](uint32_t s) { return s + 1; });
}

ConfigMachineImplParamSectWidth* showPage(ScreenFixture& f)
{
    auto* page = new ConfigMachineImplParamSectWidth(f.page());
    f.place(page, QPoint(0, 0), QSize(480, 272));
    takeProcessCalls();
    return page;
}

// Hidden and shown again, as the implement menu switches its pages.
void showAgain(QWidget* page)
{
    page->hide();
    pumpEvents();
    page->show();
    pumpEvents();
}

KestromPushButton* button(QWidget* page, const char* name)
{
    return page->findChild<KestromPushButton*>(name);
}

KestromPushButton* copyButton(QWidget* page)
{
    for (KestromPushButton* b : page->findChildren<KestromPushButton*>())
        if (b->text() == "Copy")
            return b;
    return nullptr;
}

// The grid's options, page after page, without the arrows.
std::vector<int> gridIds(ButtonGridWidget* grid)
{
    std::vector<int> ids;
    for (int p = 1; p <= grid->pageCount(); ++p)
        for (KestromPushButton* b : grid->pageButtons(p))
            if (b->id() != ButtonGridWidget::NextPageId)
                ids.push_back(b->id());
    return ids;
}

std::vector<int> upTo(int count)
{
    std::vector<int> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(i);
    return ids;
}

void chooseSection(QWidget* page, int section)
{
    tapButton(button(page, "m_btnSectionNoValue"));
    chooseGridOption(shownButtonGrid(), section - 1);
}

void enterTips(QWidget* page, const char* entry)
{
    tapButton(button(page, "m_btnSectionWidthValue"));
    keypadType(shownKeypad(), entry);
    keypadAccept(shownKeypad());
}

}  // namespace

TEST_CASE("section page: rows and screenshots in metric and imperial")
{
    struct Case {
        uint32_t system;
        const char* width;
        const char* shot;
    };
    // Section 1 has 2 tips 500 mm apart: 100 cm, or 39.4 in shown whole.
    for (const Case& c : {Case{UNIT_SYSTEM_METRIC, "100 cm", "sections_metric"},
                          Case{UNIT_SYSTEM_IMPERIAL, "39 in", "sections_imperial"},
                          Case{UNIT_SYSTEM_US, "39 in", nullptr}}) {
        CAPTURE(c.system);
        ScreenFixture f(c.system);
        setSections(f, 9);
        auto* page = showPage(f);
        CHECK(pathwayText(page) == "...Implement Parameters->Section Configuration");
        CHECK(labelButton(page, SectionRow)->text() == "Section Number");
        CHECK(labelButton(page, TipsRow)->text() == "Number of Tips");
        CHECK(labelButton(page, CopyRow)->text() == "Copy Section 1");
        CHECK(labelButton(page, WidthRow)->text() == "Section Width");
        CHECK(showsIcon(labelButton(page, SectionRow), ":/images/num_sections.svg"));
        CHECK(showsIcon(labelButton(page, TipsRow), ":/images/section_width.svg"));
        CHECK(showsIcon(labelButton(page, CopyRow), ":/images/section_no1.svg"));
        CHECK(labelButton(page, WidthRow)->icon().isNull());
        CHECK(button(page, "m_btnSectionNoValue")->text() == "1");
        CHECK(button(page, "m_btnSectionWidthValue")->text() == "2");
        CHECK(button(page, "m_btnSectionWidthCalValue")->text() == c.width);
        CHECK(button(page, "m_btnSectionWidthCalValue")->property("transparent").toBool());
        REQUIRE(copyButton(page) != nullptr);
        CHECK_FALSE(copyButton(page)->property("hasBorder").toBool());
        CHECK_FALSE(buttonBarButton(page, ToolsViewWidgets::ToolsViewButtonBar::Next)->isVisible());
        if (c.shot != nullptr)
            CHECK_SCREEN(f.screen(), c.shot);
    }
}

TEST_CASE("section page: the section grid offers the configured sections, at most 15")
{
    struct Case {
        uint32_t sections;
        int offered;
    };
    for (const Case& c : {Case{3, 3}, Case{9, 9}, Case{15, 15}, Case{20, 15}}) {
        CAPTURE(c.sections);
        ScreenFixture f;
        setSections(f, c.sections);
        auto* page = showPage(f);
        tapButton(button(page, "m_btnSectionNoValue"));
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        // In section order, paged as the grid fits them, every option touchable.
        CHECK(gridIds(grid) == upTo(c.offered));
        // A few sections share one page; more go on pages that each end in the arrow.
        if (c.sections == 3)
            CHECK(grid->pageCount() == 1);
        else
            CHECK(grid->pageCount() >= 2);
        for (int p = 1; grid->pageCount() > 1 && p <= grid->pageCount(); ++p)
            CHECK(grid->pageButtons(p).last()->id() == ButtonGridWidget::NextPageId);
        for (int id = 0; id < c.offered; ++id) {
            KestromPushButton* option = gridOption(grid, id);
            CAPTURE(id);
            CHECK(option->text() == QString("#%1\n%2 tips").arg(id + 1).arg(id + 2));
            CHECK(option->width() >= GuiGeometry::menuButtonSize().width());
            CHECK(option->height() >= GuiGeometry::menuButtonSize().height());
        }
        if (c.sections == 9) {
            REQUIRE(grid->pageCount() >= 2);
            showGridOption(grid, gridIds(grid).at(grid->pageButtons(1).size() - 1));
            CHECK(grid->currentPage() == 2);
            CHECK_SCREEN(f.screen(), "sections_grid_page2");
        }
        chooseGridOption(grid, c.offered - 1);
        CHECK(shownButtonGrid() == nullptr);
        CHECK(page->selectedSection() == c.offered - 1);
        CHECK(button(page, "m_btnSectionNoValue")->text() == QString::number(c.offered));
        CHECK(labelButton(page, CopyRow)->text() == QString("Copy Section %1").arg(c.offered));
        CHECK(button(page, "m_btnSectionWidthValue")->text() == QString::number(c.offered + 1));
        // A section beyond what the page offers is never selected.
        page->commitSectionNumber(c.offered);
        page->commitSectionNumber(-1);
        CHECK(page->selectedSection() == c.offered - 1);
        CHECK(takeProcessCalls().empty());
    }
}

TEST_CASE("section page: the grid highlights the selected section and follows the section count")
{
    ScreenFixture f;
    setSections(f, 9);
    auto* page = showPage(f);
    chooseSection(page, 5);
    tapButton(button(page, "m_btnSectionNoValue"));
    for (int id : upTo(9))
        CHECK(gridOption(shownButtonGrid(), id)->property("hasHighlightedBorder").toBool() == (id == 4));
    chooseGridOption(shownButtonGrid(), 4);

    // Fewer sections than the selected one: the next show selects section 1.
    f.setItem(DS_NUMBER_OF_SECTIONS, 3);
    showAgain(page);
    CHECK(page->selectedSection() == 0);
    CHECK(button(page, "m_btnSectionNoValue")->text() == "1");
    CHECK(labelButton(page, CopyRow)->text() == "Copy Section 1");
    CHECK(button(page, "m_btnSectionWidthValue")->text() == "2");
    tapButton(button(page, "m_btnSectionNoValue"));
    CHECK(gridIds(shownButtonGrid()) == upTo(3));
    chooseGridOption(shownButtonGrid(), 2);

    // A count the core changed behind the page shows on the next show.
    cfgdtSetSectionTips(3, 17);
    showAgain(page);
    CHECK(button(page, "m_btnSectionWidthValue")->text() == "17");
    CHECK(button(page, "m_btnSectionWidthCalValue")->text() == "850 cm");
    tapButton(button(page, "m_btnSectionNoValue"));
    CHECK(gridOption(shownButtonGrid(), 2)->text() == "#3\n17 tips");
    chooseGridOption(shownButtonGrid(), 2);
    CHECK(takeProcessCalls().empty());
}

TEST_CASE("section page: the number of tips goes to the core with the section in the upper half")
{
    ScreenFixture f;
    setSections(f, 9);
    auto* page = showPage(f);
    chooseSection(page, 2);

    struct Case {
        const char* entry;
        uint32_t argument;
        const char* tips;
        const char* width;
    };
    const Case cases[] = {
        {"12", 0x0002000C, "12", "600 cm"},
        {"12.7", 0x0002000C, "12", "600 cm"},
        {"0", 0x00020000, "0", "0 cm"},
        {"200", 0x000200C8, "200", "10,000 cm"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.entry);
        enterTips(page, c.entry);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_SECTION_WIDTH, c.argument}});
        CHECK(cfgdtGetSectionTips(2) == (c.argument & 0xFFFF));
        CHECK(button(page, "m_btnSectionWidthValue")->text() == c.tips);
        CHECK(button(page, "m_btnSectionWidthCalValue")->text() == c.width);
    }
    CHECK(takeDebugText() == "SetSectWidth = 12\r\nSetSectWidth = 12\r\nSetSectWidth = 0\r\nSetSectWidth = 200\r\n");
    // The other sections keep their counts; the grid shows the new one.
    CHECK(cfgdtGetSectionTips(1) == 2);
    CHECK(cfgdtGetSectionTips(3) == 4);
    tapButton(button(page, "m_btnSectionNoValue"));
    CHECK(gridOption(shownButtonGrid(), 1)->text() == "#2\n200 tips");
    chooseGridOption(shownButtonGrid(), 1);

    // The keypad opens with the section's count and refuses counts outside 0 to 200.
    tapButton(button(page, "m_btnSectionWidthValue"));
    CHECK(keypadTitled(shownKeypad(), "Number of Tips"));
    CHECK_SCREEN(f.screen(), "sections_tips_keypad");
    keypadCancel(shownKeypad());
    for (const char* refused : {"201", "1000"}) {
        CAPTURE(refused);
        tapButton(button(page, "m_btnSectionWidthValue"));
        keypadType(shownKeypad(), refused);
        keypadAccept(shownKeypad());
        CHECK(popupTexts(currentPopup()).join(" ").contains(
            "Invalid value! Value must be between 0 and 200 Number of Tips."));
        tapPopupButton(currentPopup(), "OK");
        keypadCancel(shownKeypad());
        CHECK(takeProcessCalls().empty());
    }
    CHECK(cfgdtGetSectionTips(2) == 200);
}

TEST_CASE("section page: copying one section's count to all sections after the question")
{
    ScreenFixture f;
    setSections(f, 9);
    auto* page = showPage(f);
    chooseSection(page, 3);

    tapButton(copyButton(page));
    CHECK(popupTexts(currentPopup()).contains(
        "Are you sure you want to copy the number of tips in section 3 to all other sections?"));
    CHECK_SCREEN(f.screen(), "sections_copy_query");
    tapPopupButton(currentPopup(), "No");
    CHECK(takeProcessCalls().empty());
    CHECK(cfgdtGetSectionTips(1) == 2);

    tapButton(copyButton(page));
    tapPopupButton(currentPopup(), "Yes");
    std::vector<PostedEvent> expected;
    for (uint32_t s = 1; s <= 9; ++s)
        expected.push_back({EV_SET_SECTION_WIDTH, (s << 16) | 4});
    CHECK(takeProcessCalls() == expected);
    for (uint32_t s = 1; s <= 9; ++s)
        CHECK(cfgdtGetSectionTips(s) == 4);
    tapButton(button(page, "m_btnSectionNoValue"));
    for (int id : upTo(9))
        CHECK(gridOption(shownButtonGrid(), id)->text() == QString("#%1\n4 tips").arg(id + 1));
    chooseGridOption(shownButtonGrid(), 2);
}

TEST_CASE("section page: more sections than the page offers")
{
    // Sections 16 to 20 hold counts of their own; the page never reaches them
    // but through the copy to all sections.
    ScreenFixture f;
    setSections(f, 20, [](uint32_t s) { return s <= 15 ? 3u : 50u + s; });
    auto* page = showPage(f);
    chooseSection(page, 15);
    CHECK(button(page, "m_btnSectionWidthValue")->text() == "3");
    enterTips(page, "7");
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_SECTION_WIDTH, 0x000F0007}});
    showAgain(page);
    CHECK(page->selectedSection() == 14);
    tapButton(button(page, "m_btnSectionNoValue"));
    CHECK(gridIds(shownButtonGrid()) == upTo(15));
    CHECK(gridOption(shownButtonGrid(), 14)->text() == "#15\n7 tips");
    chooseGridOption(shownButtonGrid(), 14);
    for (uint32_t s = 16; s <= 20; ++s)
        CHECK(cfgdtGetSectionTips(s) == 50 + s);

    tapButton(copyButton(page));
    tapPopupButton(currentPopup(), "Yes");
    CHECK(takeProcessCalls().size() == 20);
    for (uint32_t s = 1; s <= 20; ++s)
        CHECK(cfgdtGetSectionTips(s) == 7);
}

TEST_CASE("section page: help texts and the button bar")
{
    ScreenFixture f;
    setSections(f, 9);
    auto* page = showPage(f);
    chooseSection(page, 4);
    const HelpCase cases[] = {
        {0, "Section Number", "Sections are numbered from left to right while facing in the machine's forward"},
        {1, "Number of Tips", "The number of tips for the given section. Range is 0 through 200."},
        {2, "Copy Section 4", "Copy the number of tips in section 4 (the selected section number) to all the other"},
        {3, "Section Width", "The section width for the selected section number."},
    };
    for (const HelpCase& c : cases) {
        CAPTURE(c.id);
        tapButton(labelButton(page, c.id));
        checkShownHelp(c);
    }
    page->showHelp(4);
    checkShownEmptyHelp();

    // The width is shown only: a touch opens nothing.
    tap(button(page, "m_btnSectionWidthCalValue"));
    pumpEvents();
    CHECK(shownKeypad() == nullptr);
    CHECK(shownButtonGrid() == nullptr);

    QSignalSpy back(page, &ConfigMachineImplParamSectWidth::goBack);
    QSignalSpy home(page, &ConfigMachineImplParamSectWidth::ShowHomeView);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Back);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Home);
    page->handleButtonBarPressed(ToolsViewWidgets::ToolsViewButtonBar::Next);
    CHECK(back.count() == 1);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
}
