#include "guigeometry.h"
#include "gui_test.h"

#include <doctest/doctest.h>

#include <QRect>


namespace {

void useConsolePanel()
{
    GuiGeometry::setDesignType(3);
    GuiGeometry::setDisplayType(3);
}

}  // namespace

TEST_CASE("on the console's 480x272 panel every entry has its design value")
{
    useConsolePanel();
    CHECK(GuiGeometry::scaleFactorX() == 1.0f);
    CHECK(GuiGeometry::scaleFactorY() == 1.0f);
    CHECK(GuiGeometry::scaleFactor() == 1.0f);
    CHECK(GuiGeometry::scale(50) == 50);
    CHECK(GuiGeometry::screenWidth() == 480);
    CHECK(GuiGeometry::screenHeight() == 272);

    struct SizeCase {
        const char* name;
        QSize value;
        QSize expected;
    };
    const SizeCase sizes[] = {
        {"designScreenSize", GuiGeometry::designScreenSize(), QSize(480, 272)},
        {"popupOffset", GuiGeometry::popupOffset(), QSize(460, 242)},
        {"pageContentSize", GuiGeometry::pageContentSize(), QSize(380, 270)},
        {"fullPageSize", GuiGeometry::fullPageSize(), QSize(470, 262)},
        {"iconSize30", GuiGeometry::iconSize30(), QSize(30, 30)},
        {"keypadButtonSize", GuiGeometry::keypadButtonSize(), QSize(50, 50)},
        {"menuButtonSize", GuiGeometry::menuButtonSize(), QSize(130, 50)},
        {"settingButtonSize", GuiGeometry::settingButtonSize(), QSize(190, 50)},
        {"homeViewButtonSize", GuiGeometry::homeViewButtonSize(), QSize(90, 90)},
        {"homeViewIconSize", GuiGeometry::homeViewIconSize(), QSize(70, 70)},
        {"popupButtonSize", GuiGeometry::popupButtonSize(), QSize(100, 50)},
        {"buttonBarIconSize", GuiGeometry::buttonBarIconSize(), QSize(60, 60)},
        {"iconSize40", GuiGeometry::iconSize40(), QSize(40, 40)},
        {"iconSize50", GuiGeometry::iconSize50(), QSize(50, 50)},
        {"iconSize55", GuiGeometry::iconSize55(), QSize(55, 55)},
        {"iconSize70", GuiGeometry::iconSize70(), QSize(70, 70)},
        {"iconSize90", GuiGeometry::iconSize90(), QSize(90, 90)},
        {"consoleCultureIconSize", GuiGeometry::consoleCultureIconSize(), QSize(50, 50)},
        {"boomViewSize", GuiGeometry::boomViewSize(), QSize(480, 38)},
        {"boomViewStripSize", GuiGeometry::boomViewStripSize(), QSize(480, 7)},
        {"boomSectionSize", GuiGeometry::boomSectionSize(), QSize(53, 30)},
        {"topInfoBarSize", GuiGeometry::topInfoBarSize(), QSize(480, 77)},
        {"topInfoBarFieldSize", GuiGeometry::topInfoBarFieldSize(), QSize(150, 77)},
        {"dropletWidgetSize", GuiGeometry::dropletWidgetSize(), QSize(480, 60)},
        {"sprayTankSize", GuiGeometry::sprayTankSize(), QSize(160, 97)},
        {"nozzleInfoSize", GuiGeometry::nozzleInfoSize(), QSize(128, 97)},
        {"nozzleImageSize", GuiGeometry::nozzleImageSize(), QSize(65, 65)},
        {"workLabelSize", GuiGeometry::workLabelSize(), QSize(64, 32)},
        {"warningButtonSize", GuiGeometry::warningButtonSize(), QSize(80, 48)},
        {"warningIconSize", GuiGeometry::warningIconSize(), QSize(50, 50)},
        {"workToolBarSize", GuiGeometry::workToolBarSize(), QSize(320, 181)},
        {"workToolButtonSize", GuiGeometry::workToolButtonSize(), QSize(80, 80)},
        {"workToolIconSize", GuiGeometry::workToolIconSize(), QSize(70, 70)},
        {"workToolSmallIconSize", GuiGeometry::workToolSmallIconSize(), QSize(35, 35)},
        {"showToolBarButtonSize", GuiGeometry::showToolBarButtonSize(), QSize(70, 60)},
        {"showToolBarIconSize", GuiGeometry::showToolBarIconSize(), QSize(50, 50)},
    };
    for (const SizeCase& c : sizes) {
        CAPTURE(c.name);
        CHECK(c.value == c.expected);
    }

    struct PointCase {
        const char* name;
        QPoint value;
        QPoint expected;
    };
    const PointCase points[] = {
        {"boomViewPos", GuiGeometry::boomViewPos(), QPoint(0, 234)},
        {"topInfoBarPos", GuiGeometry::topInfoBarPos(), QPoint(0, 0)},
        {"dropletWidgetPos", GuiGeometry::dropletWidgetPos(), QPoint(0, 169)},
        {"sprayTankPos", GuiGeometry::sprayTankPos(), QPoint(160, 77)},
        {"nozzleInfoPos", GuiGeometry::nozzleInfoPos(), QPoint(0, 77)},
        {"workLabelPos", GuiGeometry::workLabelPos(), QPoint(96, 120)},
        {"warningButtonPos", GuiGeometry::warningButtonPos(), QPoint(320, 112)},
        {"workToolBarPos", GuiGeometry::workToolBarPos(), QPoint(161, 45)},
        {"showToolBarButtonPos", GuiGeometry::showToolBarButtonPos(), QPoint(413, 106)},
        {"centeredPosition(500, 300)", GuiGeometry::centeredPosition(500, 300), QPoint(-10, -14)},
    };
    for (const PointCase& c : points) {
        CAPTURE(c.name);
        CHECK(c.value == c.expected);
    }

    struct LengthCase {
        const char* name;
        int value;
        int expected;
    };
    const LengthCase lengths[] = {
        {"length50", GuiGeometry::length50(), 50},
        {"screenshotButtonMargin", GuiGeometry::screenshotButtonMargin(), 3},
        {"homeViewMargin", GuiGeometry::homeViewMargin(), 40},
        {"buttonGridMargin", GuiGeometry::buttonGridMargin(), 40},
        {"keypadSpacing", GuiGeometry::keypadSpacing(), 2},
        {"spacing1", GuiGeometry::spacing1(), 1},
        {"spacing2", GuiGeometry::spacing2(), 2},
        {"buttonGridPageSize", GuiGeometry::buttonGridPageSize(), 8},
    };
    for (const LengthCase& c : lengths) {
        CAPTURE(c.name);
        CHECK(c.value == c.expected);
    }
    CHECK(GuiGeometry::standardMargins() == QMargins(2, 2, 2, 2));
    CHECK(GuiGeometry::keypadMargins() == QMargins(4, 4, 4, 4));
}

TEST_CASE("a measured display size becomes a table type or a custom size of the aspect's ratio")
{
    struct Case {
        int width, height, aspect;
        int type, resultWidth, resultHeight;
    };
    const Case cases[] = {
        {480, 272, 4, 3, 480, 272},
        {800, 600, 1, 5, 800, 600},
        {320, 240, 4, 6, 320, 180},    // a table size with another aspect is cut, not type 0
        {1024, 600, 4, 6, 1024, 576},  // height cut to 16:9
        {800, 400, 4, 6, 711, 400},    // width cut
        {1280, 720, 4, 6, 1280, 720},  // already 16:9
        {500, 500, 0, 6, 500, 500},    // ratio 1.0
        {500, 400, 9, 6, 400, 400},    // an unknown code counts as 1.0
    };
    for (const Case& c : cases) {
        CAPTURE(c.width);
        CAPTURE(c.height);
        CAPTURE(c.aspect);
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplaySize(c.width, c.height, c.aspect);
        CHECK(GuiGeometry::displayType() == c.type);
        CHECK(GuiGeometry::displayWidth() == c.resultWidth);
        CHECK(GuiGeometry::displayHeight() == c.resultHeight);
    }
    useConsolePanel();
}

TEST_CASE("entries scale with the display against a 480x272 design")
{
    GuiGeometry::setDesignType(3);
    GuiGeometry::setDisplaySize(1024, 600, 4);
    CHECK(GuiGeometry::scaleFactorX() == doctest::Approx(2.1333334).epsilon(1e-6));
    CHECK(GuiGeometry::scaleFactorY() == doctest::Approx(2.1176472).epsilon(1e-6));
    CHECK(GuiGeometry::scaleFactor() == GuiGeometry::scaleFactorY());
    CHECK(GuiGeometry::scale(50) == 106);
    CHECK(GuiGeometry::scaledSize(190, 50) == QSize(405, 106));
    CHECK(GuiGeometry::popupOffset() == QSize(1024 - 42, 576 - 64));
    CHECK(GuiGeometry::centeredPosition(24, 76) == QPoint(500, 250));

    SUBCASE("an unknown type changes neither display")
    {
        GuiGeometry::setDisplayType(9);
        CHECK(GuiGeometry::displayWidth() == 1024);
        GuiGeometry::setDesignType(-1);
        CHECK(GuiGeometry::scale(50) == 106);
    }
    useConsolePanel();
}
