// The tip preset set-up page over the real datastore, presets and nozzle data.
#include "configmachineimplparamnozsetup.h"
#include "eventids.h"
#include "guigeometry.h"
#include "nozimage.h"
#include "nozzle_fixture.h"
#include "screen_check.h"
#include "settingpage_drive.h"

#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>

#include <string>

using ToolsViewWidgets::ConfigMachineImplParamNozSetup;

namespace {

enum { PresetRow = 0, SeriesRow = 1, CapacityRow = 2, FactoryRow = 3 };

ConfigMachineImplParamNozSetup* showPage(NozzleFixture& f)
{
    auto* page = new ConfigMachineImplParamNozSetup(f.page());
    f.place(page, QPoint(0, 0), QSize(480, 272));
    takeProcessCalls();
    takeDebugText();
    return page;
}

KestromPushButton* button(QWidget* page, const char* name)
{
    return page->findChild<KestromPushButton*>(name);
}

// The text label on a grid button (name above the picture).
QLabel* nameLabel(KestromPushButton* option)
{
    for (QLabel* label : option->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            return label;
    return nullptr;
}

QLabel* imageLabel(KestromPushButton* option)
{
    for (QLabel* label : option->findChildren<QLabel*>())
        if (label->text().isEmpty())
            return label;
    return nullptr;
}

std::vector<int> gridIds(ButtonGridWidget* grid)
{
    std::vector<int> ids;
    for (int p = 1; p <= grid->pageCount(); ++p)
        for (KestromPushButton* b : grid->pageButtons(p))
            if (b->id() != ButtonGridWidget::NextPageId)
                ids.push_back(b->id());
    return ids;
}

// The capacity codes of a series, in catalogue order.
std::vector<int> seriesCodes(uint32_t series)
{
    std::vector<int> codes;
    for (uint32_t j = 0; j < nozinfoSizeCount(series); ++j)
        codes.push_back(static_cast<int>(nozinfoSizeCode(series, j)));
    return codes;
}

QByteArray customFile()
{
    QFile file(QString::fromStdString(nozinfoCustomFilePath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList customKeys()
{
    QSettings settings(QString::fromStdString(nozinfoCustomFilePath()), QSettings::IniFormat);
    settings.beginGroup("noz_custom");
    return settings.allKeys();
}

}  // namespace

TEST_CASE("tip preset page: rows, pictures and screenshot")
{
    NozzleFixture f;
    auto* page = showPage(f);
    CHECK(pathwayText(page) == "...Implement Parameters->Tip Preset Setup (1)");
    CHECK(button(page, "m_btnNozzlePresetValue")->text() == "1");
    CHECK(button(page, "m_btnNozzleType")->text().replace('\n', ' ') == "Extended Range Flat Fan");
    CHECK(button(page, "m_btnNozzleSizeSelection")->text() == "01(Orange)");
    CHECK(button(page, "m_btnRestore")->text() == "Restore");
    CHECK(labelButton(page, FactoryRow)->text() == "Factory Settings");
    CHECK(showsIcon(labelButton(page, PresetRow), ":/images/msg_information.svg"));
    // The series and capacity rows show the active tip.
    const QImage tip = QIcon(NozImage::NozzleImage::instance()->getNozzleImage(3, 0, GuiGeometry::iconSize50()))
                           .pixmap(GuiGeometry::iconSize50())
                           .toImage();
    CHECK(labelButton(page, SeriesRow)->icon().pixmap(GuiGeometry::iconSize50()).toImage() == tip);
    CHECK(labelButton(page, CapacityRow)->icon().pixmap(GuiGeometry::iconSize50()).toImage() == tip);
    for (int id : {0, 1, 2})
        CHECK(buttonBarButton(page, id)->isVisible());
    CHECK_SCREEN(f.screen(), "nozsetup_page");
}

TEST_CASE("tip preset page: choosing a preset makes it active at once")
{
    NozzleFixture f;
    NozzleFixture::setPreset(1, 0, 2);
    NozzleFixture::setPreset(3, 4, 1);
    auto* page = showPage(f);

    tapButton(button(page, "m_btnNozzlePresetValue"));
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid != nullptr);
    CHECK(gridIds(grid) == std::vector<int>{0, 1, 2, 3, 4});
    CHECK(gridOption(grid, 0)->property("hasHighlightedBorder").toBool());
    CHECK(nameLabel(gridOption(grid, 3))->text() == "LPFF-02");
    CHECK(nameLabel(gridOption(grid, 1))->text() == "TF-02");
    CHECK_SCREEN(f.screen(), "nozsetup_preset_grid");
    chooseGridOption(grid, 3);

    struct Case {
        int preset;
        uint32_t runFlag;
        const char* series;
        const char* capacity;
    };
    // Preset 3 was chosen in the grid above; the others are chosen the same way.
    for (const Case& c : {Case{3, 0, "Low Pressure Flat Fan", "02(Yellow)"}, Case{1, 1, "Twin Fluid", "02(Yellow)"},
                          Case{2, 0, "Extended Range Flat Fan", "02(Yellow)"}}) {
        CAPTURE(c.preset);
        if (c.preset != 3) {
            tapButton(button(page, "m_btnNozzlePresetValue"));
            chooseGridOption(shownButtonGrid(), c.preset);
        }
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SELECT_NOZZLE_PRESET, uint32_t(c.preset)},
                                                             {EV_SET_EDIT_PRESET, uint32_t(c.preset)}});
        CHECK(datastoreGetUint16(DS_CURRENT_TIP_PRESET) == c.preset);
        CHECK(datastoreGetUint16(DS_TIP_PRESET_SELECTION) == c.preset);
        CHECK(datastoreGetBool(DS_RUN_FLAG_228) == c.runFlag);
        CHECK(button(page, "m_btnNozzlePresetValue")->text() == QString::number(c.preset + 1));
        CHECK(button(page, "m_btnNozzleType")->text().replace('\n', ' ') == c.series);
        // The capacity row follows on the next refresh.
        f.tick100ms();
        CHECK(button(page, "m_btnNozzleSizeSelection")->text() == c.capacity);
    }
}

TEST_CASE("tip preset page: opening the preset grid redraws only the presets whose tip changed")
{
    NozzleFixture f;
    auto* page = showPage(f);
    tapButton(button(page, "m_btnNozzlePresetValue"));
    ButtonGridWidget* grid = shownButtonGrid();
    std::vector<qint64> pictures;
    for (int id = 0; id < 5; ++id)
        pictures.push_back(imageLabel(gridOption(grid, id))->pixmap(Qt::ReturnByValue).cacheKey());
    chooseGridOption(grid, 0);
    takeProcessCalls();

    NozzleFixture::setPreset(2, 6, 3);
    tapButton(button(page, "m_btnNozzlePresetValue"));
    for (int id = 0; id < 5; ++id) {
        CAPTURE(id);
        CHECK((imageLabel(gridOption(grid, id))->pixmap(Qt::ReturnByValue).cacheKey() == pictures[id]) == (id != 2));
    }
    CHECK(nameLabel(gridOption(grid, 2))->text() == "AIFF-04");
    chooseGridOption(grid, 0);
}

TEST_CASE("tip preset page: the series grid and a change of series")
{
    NozzleFixture f;
    NozzleFixture::setPreset(0, 3, 4);
    auto* page = showPage(f);

    tapButton(button(page, "m_btnNozzleType"));
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid != nullptr);
    const auto& order = ConfigMachineImplParamNozSetup::seriesOrder();
    CHECK(gridIds(grid) == std::vector<int>(order.begin(), order.end()));
    CHECK(gridIds(grid).back() == 18);
    CHECK(nameLabel(gridOption(grid, 18))->text() == "User Tip");
    CHECK(nameLabel(gridOption(grid, 3))->text() == "Extended Range Flat Fan");
    CHECK(gridOption(grid, 3)->property("hasHighlightedBorder").toBool());
    CHECK(grid->pageCount() > 1);
    CHECK_SCREEN(f.screen(), "nozsetup_series_grid_page1");
    showGridOption(grid, gridIds(grid).at(grid->pageButtons(1).size() - 1));
    CHECK(grid->currentPage() == 2);
    CHECK_SCREEN(f.screen(), "nozsetup_series_grid_page2");
    showGridOption(grid, 18);
    CHECK_SCREEN(f.screen(), "nozsetup_series_grid_last");

    // The series in use: nothing is called.
    chooseGridOption(grid, 3);
    CHECK(takeDebugText().empty());
    CHECK(nozpresetGetNozzleSizeIx(0) == 4);

    // Another series: its first size, and the capacity grid holds its sizes.
    tapButton(button(page, "m_btnNozzleType"));
    chooseGridOption(shownButtonGrid(), 4);
    const std::string trace = takeDebugText();
    const size_t type = trace.find("nozpresetSetNozzleType( 0 4 ), Changed=");
    const size_t size = trace.find("nozpresetSetNozzleSizeIx( 0 0 ), Changed=");
    CHECK(type != std::string::npos);
    CHECK(size != std::string::npos);
    CHECK(type < size);
    CHECK(nozpresetGetNozzleType(0) == 4);
    CHECK(nozpresetGetNozzleSizeIx(0) == 0);
    CHECK(button(page, "m_btnNozzleType")->text() == "Low Pressure Flat Fan");
    f.tick100ms();
    CHECK(button(page, "m_btnNozzleSizeSelection")->text() == "015(Green)");
    tapButton(button(page, "m_btnNozzleSizeSelection"));
    CHECK(gridIds(shownButtonGrid()) == seriesCodes(4));
    chooseGridOption(shownButtonGrid(), 3);
}

TEST_CASE("tip preset page: the capacity grid and its texts")
{
    NozzleFixture f;
    NozzleFixture::setPreset(0, 3, 0);
    auto* page = showPage(f);

    tapButton(button(page, "m_btnNozzleSizeSelection"));
    ButtonGridWidget* grid = shownButtonGrid();
    CHECK(gridIds(grid) == seriesCodes(3));
    CHECK(gridOption(grid, 2)->property("hasHighlightedBorder").toBool());
    CHECK(nameLabel(gridOption(grid, 10))->text() == "06(Gray)");
    CHECK_SCREEN(f.screen(), "nozsetup_capacity_grid");
    chooseGridOption(grid, 9);
    CHECK(nozpresetGetNozzleSizeIx(0) == 6);
    CHECK(button(page, "m_btnNozzleSizeSelection")->text() == "05(Brown)");

    // The longest colour names fit the buttons.
    tapButton(button(page, "m_btnNozzleSizeSelection"));
    nameLabel(gridOption(grid, 2))->setText(ConfigMachineImplParamNozSetup::capacityString("0067", 16, true));
    nameLabel(gridOption(grid, 3))->setText(ConfigMachineImplParamNozSetup::capacityString("XX", 18, true));
    nameLabel(gridOption(grid, 4))->setText(ConfigMachineImplParamNozSetup::capacityString("12", 17, true));
    CHECK_SCREEN(f.screen(), "nozsetup_capacity_long_colours");
    chooseGridOption(grid, 9);

    // The user tip: sizes of codes 20 and above, without a colour.
    tapButton(button(page, "m_btnNozzleType"));
    chooseGridOption(shownButtonGrid(), 18);
    f.tick100ms();
    CHECK(button(page, "m_btnNozzleSizeSelection")->text() == "User 1()");
    tapButton(button(page, "m_btnNozzleSizeSelection"));
    CHECK(gridIds(grid) == seriesCodes(18));
    CHECK(nameLabel(gridOption(grid, 22))->text() == "User 3()");
    chooseGridOption(grid, 22);
    CHECK(nozpresetGetNozzleSizeIx(0) == 2);

    struct Case {
        const char* size;
        int code;
        const char* text;
    };
    for (const Case& c : {Case{"0050", 1, "0050(Blue Lilac)"}, Case{"08", 11, "08(White)"},
                          Case{"10", 12, "10(Light Blue)"}, Case{"0067", 16, "0067(Olive Green)"},
                          Case{"XX", 19, "XX(Stainless Steel)"}, Case{"User 1", 20, "User 1()"},
                          Case{"x", 61, "x()"}, Case{"y", 0, "y()"}, Case{"z", 62, "z()"}}) {
        CAPTURE(c.code);
        CHECK(ConfigMachineImplParamNozSetup::capacityString(c.size, c.code, true) == c.text);
        CHECK(ConfigMachineImplParamNozSetup::capacityString(c.size, c.code, false) == c.text);
    }
}

TEST_CASE("tip preset page: restoring every tip's reference data after the question")
{
    NozzleFixture f;
    NozzleFixture::setPreset(0, 3, 1);
    // One tip of a preset, one that no preset uses.
    REQUIRE(nozinfoSetCustomRefFlow(3, 1, 12345) == 1);
    REQUIRE(nozinfoSetCustomPressRange(7, 2, 150, 450) == 1);
    const uint32_t catalogueFlow = nozinfoSystemRefFlow(3, 1, NOZINFO_FLAG_STATIC);
    REQUIRE(catalogueFlow != 12345);
    const QByteArray before = customFile();
    REQUIRE(customKeys().size() == 3);
    auto* page = showPage(f);

    tapButton(button(page, "m_btnRestore"));
    CHECK(popupTexts(currentPopup()).contains("Are you sure, you want to restore data for all tips to factory settings?"));
    CHECK_SCREEN(f.screen(), "nozsetup_restore_query");
    tapPopupButton(currentPopup(), "No");
    CHECK(nozinfoSystemRefFlow(3, 1, 0) == 12345);
    CHECK(nozinfoPressureLimit(7, 2, NOZINFO_FLAG_MAXIMUM) == 450);
    CHECK(customFile() == before);

    tapButton(button(page, "m_btnRestore"));
    tapPopupButton(currentPopup(), "Yes");
    CHECK(customKeys().isEmpty());
    CHECK(nozinfoSystemRefFlow(3, 1, 0) == catalogueFlow);
    CHECK(nozinfoPressureLimit(7, 2, NOZINFO_FLAG_MAXIMUM) == nozinfoPressureLimit(7, 2, NOZINFO_FLAG_MAXIMUM | NOZINFO_FLAG_STATIC));
    CHECK(nozinfoPressureLimit(7, 2, 0) == nozinfoPressureLimit(7, 2, NOZINFO_FLAG_STATIC));
    // The presets stay.
    CHECK(nozpresetGetNozzleType(0) == 3);
    CHECK(nozpresetGetNozzleSizeIx(0) == 1);
    CHECK(takeProcessCalls().empty());
}

TEST_CASE("tip preset page: the 100 ms refresh follows the active preset without new widgets")
{
    NozzleFixture f;
    NozzleFixture::setPreset(2, 5, 3);
    auto* page = showPage(f);
    f.setItem(DS_TIP_PRESET_SELECTION, 4);
    const int widgets = page->findChildren<QWidget*>().size();
    f.tick100ms();
    CHECK(datastoreGetUint16(DS_TIP_PRESET_SELECTION) == 0);

    // Made active elsewhere (the working screen): the page follows.
    processEvent(EV_SELECT_NOZZLE_PRESET, 2);
    f.tick100ms();
    CHECK(datastoreGetUint16(DS_TIP_PRESET_SELECTION) == 2);
    CHECK(button(page, "m_btnNozzlePresetValue")->text() == "3");
    CHECK(button(page, "m_btnNozzleType")->text() == "Reduced Drift Flat Fan");
    CHECK(button(page, "m_btnNozzleSizeSelection")->text() == "03(Blue)");
    f.tick100ms(50);
    CHECK(page->findChildren<QWidget*>().size() == widgets);

    // Hidden, it does not run.
    page->hide();
    pumpEvents();
    f.setItem(DS_TIP_PRESET_SELECTION, 4);
    f.tick100ms();
    CHECK(datastoreGetUint16(DS_TIP_PRESET_SELECTION) == 4);
}

TEST_CASE("tip preset page: help texts and the button bar")
{
    NozzleFixture f;
    auto* page = showPage(f);
    const HelpCase cases[] = {
        {0, "Tip Preset", "Tip presets allow saving of up to five tips for quick recall."},
        {1, "Tip Series", "or an optional user defined tip."},
        {2, "Tip Capacity", "tip capacity will need to be encoded manually."},
        {3, "Factory Settings", "Reset all tip settings to the default setting for all tips."},
    };
    for (const HelpCase& c : cases) {
        CAPTURE(c.id);
        tapButton(labelButton(page, c.id));
        checkShownHelp(c);
    }
    page->showHelp(4);
    checkShownEmptyHelp();

    QSignalSpy back(page, &ConfigMachineImplParamNozSetup::goBack);
    QSignalSpy next(page, &ConfigMachineImplParamNozSetup::nextPage);
    QSignalSpy home(page, &ConfigMachineImplParamNozSetup::ShowHomeView);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Back);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Next);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Home);
    CHECK(back.count() == 1);
    CHECK(next.count() == 1);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
}
