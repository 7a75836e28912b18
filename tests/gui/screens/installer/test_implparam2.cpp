// The section switch assignment page: rows from the stored map of the section
// count, the map built from the rows and checked, stored only after Yes.
#include "configoemimplparam2.h"
#include "dsvcappl.h"
#include "installer_drive.h"
#include "screen_check.h"

#include <QSignalSpy>

#include <array>

using ToolsViewWidgets::ConfigOemImplParam2;
using ToolsViewWidgets::ToolsViewButtonBar;

namespace {

using Map = std::array<int32_t, 13>;

uint32_t mapItemFor(uint32_t sections)
{
    return sections == 10 ? DS_SECTION_SWITCH_MAP_1
         : sections == 11 ? DS_SECTION_SWITCH_MAP_2
         : sections == 12 ? DS_SECTION_SWITCH_MAP_3
                          : DS_SECTION_SWITCH_MAP_4;
}

void storeFactoryMaps()
{
    for (uint32_t i = 0; i < 4; ++i) {
        Map map;
        for (int e = 0; e < 13; ++e)
            map[e] = static_cast<int32_t>(dsvcapplSectionMaps[i][e]);
        REQUIRE(datastoreSetData(DS_SECTION_SWITCH_MAP_1 + i, map.data()) == 0);
    }
}

Map storedMap(uint32_t sections)
{
    Map map{};
    datastoreGetData(mapItemFor(sections), map.data());
    return map;
}

ConfigOemImplParam2* showAssignment(ScreenFixture& f, uint32_t sections)
{
    f.setItem(DS_NUMBER_OF_SECTIONS, sections);
    storeFactoryMaps();
    return showInstallerPage<ConfigOemImplParam2>(f);
}

KestromPushButton* rowButton(QWidget* page, const char* kind, int row)
{
    auto* button = page->findChild<KestromPushButton*>(QString("m_btn%1%2").arg(kind).arg(row));
    REQUIRE(button != nullptr);
    return button;
}

void choose(QWidget* page, int row, int switchNumber, int pairLeft)
{
    tapButton(rowButton(page, "Switch", row));
    chooseGridOption(shownButtonGrid(), switchNumber - 1);
    tapButton(rowButton(page, "Pair", row));
    chooseGridOption(shownButtonGrid(), pairLeft - 1);
}

int shownRows(QWidget* page)
{
    int rows = 0;
    for (int row = 1; row <= 4; ++row)
        rows += rowButton(page, "Switch", row)->isVisible() ? 1 : 0;
    return rows;
}

}  // namespace

TEST_CASE("assignment: rows from the factory maps of 10 to 13 sections")
{
    struct Case {
        uint32_t sections;
        std::vector<std::pair<const char*, const char*>> rows;
        int pairOptions;
    };
    const Case cases[] = {
        {10, {{"#5", "5+6"}}, 9},
        {11, {{"#4", "4+5"}, {"#6", "7+8"}}, 10},
        {12, {{"#4", "4+5"}, {"#5", "6+7"}, {"#6", "8+9"}}, 11},
        {13, {{"#3", "3+4"}, {"#4", "5+6"}, {"#6", "8+9"}, {"#7", "10+11"}}, 12},
    };
    for (const Case& c : cases) {
        CAPTURE(c.sections);
        ScreenFixture f;
        auto* page = showAssignment(f, c.sections);
        CHECK(pathwayText(page) == "Settings->OEM->Implement Parameters (2)");
        CHECK(shownRows(page) == static_cast<int>(c.rows.size()));
        for (size_t row = 0; row < c.rows.size(); ++row) {
            CHECK(rowButton(page, "Switch", row + 1)->text() == c.rows[row].first);
            CHECK(rowButton(page, "Pair", row + 1)->text() == c.rows[row].second);
        }
        tapButton(rowButton(page, "Pair", 1));
        ButtonGridWidget* grid = shownButtonGrid();
        CHECK(gridOption(grid, c.pairOptions - 1) != nullptr);
        CHECK(gridOption(grid, c.pairOptions) == nullptr);
        if (c.sections == 10 || c.sections == 13)
            CHECK_SCREEN(f.screen(), c.sections == 10 ? "assignment_10_pair_grid" : "assignment_13_pair_grid");
        grid->close();
        pumpEvents();
        if (c.sections == 10 || c.sections == 13)
            CHECK_SCREEN(f.screen(), c.sections == 10 ? "assignment_10" : "assignment_13");
        // Valid and unchanged: back leaves at once.
        QSignalSpy back(page, &ConfigOemImplParam2::goBack);
        tapButtonBar(page, ToolsViewButtonBar::Back);
        CHECK(back.count() == 1);
        CHECK(currentPopup() == nullptr);
    }
}

TEST_CASE("assignment: checks of order and count, confirmation and factory restore")
{
    ScreenFixture f;
    auto* page = showAssignment(f, 10);
    QSignalSpy back(page, &ConfigOemImplParam2::goBack);
    QSignalSpy next(page, &ConfigOemImplParam2::nextPage);
    const Map factory = storedMap(10);

    // #4 for 5+6: 1 2 3 4 4 4 ... three sections on switch 4.
    choose(page, 1, 4, 5);
    tapButtonBar(page, ToolsViewButtonBar::Back);
    CHECK(back.count() == 0);
    const QString invalid = popupTexts(currentPopup()).join(" ");
    CHECK(invalid.contains("Invalid Configuration"));
    CHECK(invalid.contains(
        "The new configuration of physical switches to section pairs is invalid! \n\nRestore to factory settings?"));
    CHECK_SCREEN(f.screen(), "assignment_invalid_query");
    // Yes restores the factory rows, nothing is stored.
    tapPopupButton(currentPopup(), "Yes");
    CHECK(rowButton(page, "Switch", 1)->text() == "#5");
    CHECK(rowButton(page, "Pair", 1)->text() == "5+6");
    CHECK(storedMap(10) == factory);

    // #6 for 6+7: 1 2 3 4 5 6 6 7 8 9, valid; asks, Yes stores, the next touch leaves.
    choose(page, 1, 6, 6);
    tapButtonBar(page, ToolsViewButtonBar::Next);
    CHECK(next.count() == 0);
    CHECK(popupTexts(currentPopup()).join(" ").contains("Confirm Configuration"));
    tapPopupButton(currentPopup(), "No");
    CHECK(storedMap(10) == factory);
    tapButtonBar(page, ToolsViewButtonBar::Next);
    tapPopupButton(currentPopup(), "Yes");
    CHECK(storedMap(10) == Map{1, 2, 3, 4, 5, 6, 6, 7, 8, 9, 9, 9, 9});
    tapButtonBar(page, ToolsViewButtonBar::Next);
    CHECK(next.count() == 1);

    // #5 for 6+7: 1 2 3 4 5 5 5 ...: invalid.
    choose(page, 1, 5, 6);
    tapButtonBar(page, ToolsViewButtonBar::Home);
    CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid Configuration"));
    tapPopupButton(currentPopup(), "No");
    CHECK(currentPopup() == nullptr);

    // #2 for 5+6: 1 2 3 4 2 2 6 7 8 9 fails both checks: two queries queued.
    choose(page, 1, 2, 5);
    tapButtonBar(page, ToolsViewButtonBar::Back);
    for (int query = 0; query < 2; ++query) {
        CAPTURE(query);
        CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid Configuration"));
        tapPopupButton(currentPopup(), "No");
    }
    CHECK(currentPopup() == nullptr);
    CHECK(back.count() == 0);

    // An edit not stored is dropped on the next show.
    reopen(page);
    CHECK(rowButton(page, "Switch", 1)->text() == "#6");
    CHECK(rowButton(page, "Pair", 1)->text() == "6+7");
}

TEST_CASE("assignment: a section count above 13 stays within the 13 entries of a map")
{
    ScreenFixture f;
    auto* page = showAssignment(f, 20);
    CHECK(shownRows(page) == 4);
    CHECK(rowButton(page, "Switch", 4)->text() == "#7");
    const Map before = storedMap(13);
    QSignalSpy back(page, &ConfigOemImplParam2::goBack);
    tapButtonBar(page, ToolsViewButtonBar::Back);
    CHECK(back.count() == 1);
    CHECK(storedMap(13) == before);
    CHECK(page->ValidateSettings());
    CHECK(page->ChangeSettings());
}

TEST_CASE("assignment: help texts")
{
    ScreenFixture f;
    auto* page = showAssignment(f, 10);
    const HelpCase helps[] = {
        {0, "Physical Section Switch Number", "for controlling the paired sections."},
        {1, "Paired Sections", "in the machine's forward direction."},
    };
    for (const HelpCase& c : helps) {
        page->showHelp(c.id);
        checkShownHelp(c);
    }
    page->showHelp(2);
    checkShownEmptyHelp();
}
