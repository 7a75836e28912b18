// The nozzle information: the active preset's tip name and picture, and the
// preset grid through which the operator makes another preset active.
#include "buttongridwidget.h"
#include "configmachineimplparamnozsetup.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "nozimage.h"
#include "nozzle_fixture.h"
#include "qtimagetools.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "worknozzleinfowidget.h"

#include <doctest/doctest.h>

#include <QIcon>
#include <QLabel>

namespace {

struct NozzleInfo : NozzleFixture {
    NozzleInfo()
    {
        info = new WorkNozzleInfoWidget(page());
        place(info, GuiGeometry::nozzleInfoPos(), GuiGeometry::nozzleInfoSize());
        tick100ms();
    }
    // The picture the image button shows, as drawn at its icon size.
    QImage shownPicture() const
    {
        return info->imageButton()->icon().pixmap(GuiGeometry::iconSize50()).toImage();
    }
    static QImage expectedPicture(const QPixmap& drawn)
    {
        return QIcon(drawn).pixmap(GuiGeometry::iconSize50()).toImage();
    }

    WorkNozzleInfoWidget* info;
};

}  // namespace

TEST_CASE("nozzle information: the active preset's tip, followed within 100 ms")
{
    NozzleInfo f;
    // Preset 0 is the default tip: series 3, size "01".
    CHECK(f.info->nameLabel()->text() == "ERFF-01");
    CHECK(f.shownPicture() ==
          NozzleInfo::expectedPicture(NozImage::NozzleImage::instance()->getNozzleImage(3, 0, GuiGeometry::nozzleImageSize())));

    // A series without drawings shows the unknown tip.
    NozzleFixture::setPreset(0, 1, 0);
    f.tick100ms();
    CHECK(f.info->nameLabel()->text() == "G-01");
    CHECK(NozImage::NozzleImage::instance()->imagePath(1, 0) == ":/images/tip_unknown.svg");
    const QImage unknown = NozzleInfo::expectedPicture(
        QtImageTools::loadPixmap(":/images/tip_unknown.svg", GuiGeometry::nozzleImageSize(), false, Qt::KeepAspectRatio));
    CHECK(f.shownPicture() == unknown);
    CHECK_SCREEN(f.screen(), "nozzle_info_unknown_tip");

    NozzleFixture::setPreset(2, 4, 1);
    f.setItem(DS_CURRENT_TIP_PRESET, 2);
    f.tick100ms();
    CHECK(f.info->nameLabel()->text() == "LPFF-02");
    CHECK(f.info->nameLabel()->text() ==
          ToolsViewWidgets::ConfigMachineImplParamNozSetup::tipSeriesName(4, 0) + nozinfoSizeName(4, 1));
    CHECK(f.info->nameLabel()->text() == WorkNozzleInfoWidget::getNozzleString(2));
    CHECK(NozImage::NozzleImage::instance()->imagePath(4, 1).startsWith(":/imagelibrary/"));
    CHECK(f.shownPicture() ==
          NozzleInfo::expectedPicture(NozImage::NozzleImage::instance()->getNozzleImage(4, 1, GuiGeometry::nozzleImageSize())));
    CHECK(f.shownPicture() != unknown);
    CHECK_SCREEN(f.screen(), "nozzle_info_catalogue_tip");

    // The preset's tip changed on the set-up page while shown.
    NozzleFixture::setPreset(2, 4, 3);
    f.tick100ms();
    CHECK(f.info->nameLabel()->text() == "LPFF-03");
}

TEST_CASE("nozzle information: no preset grid while spraying; otherwise centred with the active preset marked")
{
    NozzleInfo f;
    f.setItem(DS_CURRENT_TIP_PRESET, 2);
    f.hub()->isSpraying(true);
    tapButton(f.info->imageButton());
    CHECK(shownButtonGrid() == nullptr);

    f.hub()->isSpraying(false);
    tapButton(f.info->imageButton());
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid == f.info->presetGrid());
    CHECK(grid->size() == GuiGeometry::fullPageSize());
    CHECK(grid->pos() == f.screen()->mapToGlobal(GuiGeometry::centeredPosition(grid->width(), grid->height())));
    for (int i = 0; i < WorkNozzleInfoWidget::PresetCount; ++i) {
        CAPTURE(i);
        CHECK(f.info->presetButton(i)->property("hasHighlightedBorder").toBool() == (i == 2));
        CHECK(f.info->presetNameLabel(i)->text() == WorkNozzleInfoWidget::getNozzleString(i));
        CHECK(f.info->presetButton(i)->width() >= GuiGeometry::menuButtonSize().width());
    }
    CHECK_SCREEN(f.screen(), "nozzle_presets_open");
}

TEST_CASE("nozzle information: choosing a preset selects it and makes it the one being edited, also when already active")
{
    for (int active : {0, 3}) {
        CAPTURE(active);
        NozzleInfo f;
        f.setItem(DS_CURRENT_TIP_PRESET, static_cast<uint32_t>(active));
        takeProcessCalls();
        tapButton(f.info->imageButton());
        chooseGridOption(shownButtonGrid(), 3);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SELECT_NOZZLE_PRESET, 3}, {EV_SET_EDIT_PRESET, 3}});
        CHECK(shownButtonGrid() == nullptr);
    }
}

TEST_CASE("nozzle information: opening the grid redraws only the presets whose tip changed")
{
    NozzleInfo f;
    tapButton(f.info->imageButton());
    REQUIRE(shownButtonGrid() != nullptr);
    shownButtonGrid()->close();
    qint64 pictures[WorkNozzleInfoWidget::PresetCount];
    for (int i = 0; i < WorkNozzleInfoWidget::PresetCount; ++i)
        pictures[i] = f.info->presetImageLabel(i)->pixmap(Qt::ReturnByValue).cacheKey();

    NozzleFixture::setPreset(1, 6, 2);
    tapButton(f.info->imageButton());
    REQUIRE(shownButtonGrid() != nullptr);
    for (int i = 0; i < WorkNozzleInfoWidget::PresetCount; ++i) {
        CAPTURE(i);
        const qint64 now = f.info->presetImageLabel(i)->pixmap(Qt::ReturnByValue).cacheKey();
        CHECK((now != pictures[i]) == (i == 1));
    }
    CHECK(f.info->presetNameLabel(1)->text() == "AIFF-03");
    CHECK(f.info->presetNameLabel(1)->text() == WorkNozzleInfoWidget::getNozzleString(1));
}
