// The boom view: symbol sizes, the three drawing states, the colour of the
// active preset's nozzle, and a picture of each state at its working-screen place.
#include "boomviewwidget.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "noztables.h"
#include "qtimagetools.h"
#include "screen_check.h"
#include "screen_fixture.h"

#include <doctest/doctest.h>

#include <QLabel>
#include <QPixmapCache>
#include <QResource>

#include <vector>

namespace {

struct Boom : ScreenFixture {
    Boom()
    {
        REQUIRE(nozinfoInit(1) == 1);
        nozpresetInit(1);
    }
    BoomViewWidget* build(uint16_t sections)
    {
        setItem(DS_NUMBER_OF_SECTIONS, sections);
        auto* boom = new BoomViewWidget(page());
        boom->setObjectName("m_boomView");
        place(boom, GuiGeometry::boomViewPos(), GuiGeometry::boomViewSize());
        tick100ms();
        return boom;
    }
};

// A (type, size) of the catalogue whose capacity colour code is code.
bool findTip(uint32_t code, uint32_t* type, uint32_t* size)
{
    for (uint32_t t = 2; t < NOZZLE_TYPE_COUNT; ++t)
        for (uint32_t j = 0; j < nozinfoSizeCount(t); ++j)
            if (nozinfoSizeCode(t, j) == code) {
                *type = t;
                *size = j;
                return true;
            }
    return false;
}

// Capacity colour codes the catalogue offers: coloured ones in order, and
// whether one of them draws black.
std::vector<uint32_t> catalogueCodes(bool coloured)
{
    std::vector<uint32_t> codes;
    for (uint32_t code = 0; code < 62; ++code) {
        uint32_t type = 0;
        uint32_t size = 0;
        if (findTip(code, &type, &size) && (BoomViewWidget::colourName(code) != "Black") == coloured)
            codes.push_back(code);
    }
    return codes;
}

void setPresetTip(uint32_t preset, uint32_t code)
{
    uint32_t type = 0;
    uint32_t size = 0;
    CAPTURE(code);
    REQUIRE(findTip(code, &type, &size));
    REQUIRE(nozpresetSetNozzleType(preset, type) == 1);
    REQUIRE(nozpresetSetNozzleSizeIx(preset, size) == 1);
    REQUIRE(nozpresetSizeCode(preset) == code);
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
QImage shown(const QLabel* label)
{
    return label->pixmap() != nullptr ? label->pixmap()->toImage() : QImage();
}
#pragma GCC diagnostic pop

QImage symbol(const QString& colour, const QString& state, QSize size)
{
    return QtImageTools::loadPixmap(BoomViewWidget::symbolPath(colour, state), size, false, Qt::IgnoreAspectRatio)
        .toImage();
}

// The state each of the first n labels shows, as "A" (Active), "I" (Inactive) or "C" (Closed).
std::string states(const BoomViewWidget* boom, const QString& colour, int n)
{
    std::string out;
    for (int i = 1; i <= n; ++i) {
        const QImage image = shown(boom->sectionLabel(i));
        const QSize size = image.size();
        if (image == symbol(colour, "Active", size))
            out += 'A';
        else if (image == symbol(colour, "Inactive", size))
            out += 'I';
        else if (image == symbol(colour, "Closed", size))
            out += 'C';
        else
            out += '?';
    }
    return out;
}

int visibleSymbols(const BoomViewWidget* boom)
{
    int count = 0;
    for (int i = 1; i <= BoomViewWidget::SymbolCount; ++i)
        count += boom->sectionLabel(i)->isVisible() ? 1 : 0;
    return count;
}

}  // namespace

TEST_CASE("every one of the 45 nozzle symbols and the boom frame is built in and renders")
{
    Boom f;
    const char* const colours[] = {"Lilac", "Orange", "Green",     "Yellow", "Purple",     "Blue",  "Red",  "Brown",
                                   "Grey",  "White",  "LightBlue", "LightGreen", "Beige", "Olivegreen", "Black"};
    int count = 0;
    for (const char* colour : colours) {
        for (const char* state : {"Active", "Inactive", "Closed"}) {
            const QString path = BoomViewWidget::symbolPath(colour, state);
            CAPTURE(path.toStdString());
            CHECK(QResource(path).isValid());
            const QPixmap pixmap = QtImageTools::renderSvg(path, QSize(51, 30), false, Qt::IgnoreAspectRatio);
            CHECK(pixmap.size() == QSize(51, 30));
            ++count;
        }
    }
    CHECK(count == 45);
    CHECK_FALSE(QtImageTools::renderSvg(":/images/BoomFrame.svg", QSize(480, 7), false, Qt::IgnoreAspectRatio)
                    .isNull());
}

TEST_CASE("colour names by capacity colour code")
{
    const struct {
        uint32_t code;
        const char* colour;
    } cases[] = {{1, "Lilac"},  {2, "Orange"},      {3, "Green"}, {4, "Yellow"},      {5, "Purple"}, {6, "Blue"},
                 {8, "Red"},    {9, "Brown"},       {10, "Grey"}, {11, "White"},      {12, "LightBlue"},
                 {13, "LightGreen"}, {15, "Beige"}, {16, "Olivegreen"}, {0, "Black"}, {7, "Black"},
                 {14, "Black"}, {17, "Black"},      {19, "Black"}, {61, "Black"}};
    for (const auto& c : cases) {
        CAPTURE(c.code);
        CHECK(BoomViewWidget::colourName(c.code) == c.colour);
    }
}

TEST_CASE("symbol size and count by number of sections at 480 x 272")
{
    const struct {
        uint16_t sections;
        int shown;
        QSize size;
    } cases[] = {{9, 9, QSize(51, 30)}, {15, 15, QSize(29, 30)}, {1, 1, QSize(476, 30)},
                 {0, 0, QSize(53, 30)}, {20, 15, QSize(21, 30)}, {99, 15, QSize(2, 30)}};
    for (const auto& c : cases) {
        CAPTURE(c.sections);
        Boom f;
        CHECK(BoomViewWidget::sectionImageSize(c.sections) == c.size);
        // The store keeps at least one section; none comes only by the hub's signal.
        BoomViewWidget* boom = f.build(c.sections > 0 ? c.sections : 1);
        if (c.sections == 0) {
            f.hub()->boomSectionsChanged(0);
            pumpEvents();
        }
        CHECK(visibleSymbols(boom) == c.shown);
        if (c.shown > 0)
            CHECK(shown(boom->sectionLabel(1)).size() == c.size);
    }
}

TEST_CASE("drawing states: closed while not spraying, active and inactive by the mask while spraying")
{
    Boom f;
    const std::vector<uint32_t> coloured = catalogueCodes(true);
    REQUIRE(!coloured.empty());
    setPresetTip(0, coloured.front());
    const QString colour = BoomViewWidget::colourName(coloured.front());
    BoomViewWidget* boom = f.build(3);
    CHECK(states(boom, colour, 3) == "CCC");
    CHECK_SCREEN(f.screen(), "boom_not_spraying");

    // A mask while not spraying changes nothing visible...
    f.hub()->activeSectionStatusChanged(0b101);
    pumpEvents();
    CHECK(states(boom, colour, 3) == "CCC");
    // ...and is drawn as soon as spraying starts.
    f.setItem(DS_SPRAYING_ACTIVE, 1);
    f.hub()->isSpraying(true);
    pumpEvents();
    CHECK(states(boom, colour, 3) == "AIA");
    CHECK_SCREEN(f.screen(), "boom_spraying_101");

    f.hub()->activeSectionStatusChanged(0b010);
    pumpEvents();
    CHECK(states(boom, colour, 3) == "IAI");

    f.setItem(DS_SPRAYING_ACTIVE, 0);
    f.hub()->isSpraying(false);
    pumpEvents();
    CHECK(states(boom, colour, 3) == "CCC");
}

TEST_CASE("the work state reaches the picture within 100 ms even without a signal")
{
    Boom f;
    const std::vector<uint32_t> coloured = catalogueCodes(true);
    REQUIRE(!coloured.empty());
    setPresetTip(0, coloured.back());
    const QString colour = BoomViewWidget::colourName(coloured.back());
    BoomViewWidget* boom = f.build(9);
    f.hub()->activeSectionStatusChanged(0x1FF);
    f.setItem(DS_SPRAYING_ACTIVE, 1);
    f.tick100ms();
    CHECK(states(boom, colour, 9) == "AAAAAAAAA");
    f.setItem(DS_SPRAYING_ACTIVE, 0);
    f.tick100ms();
    CHECK(states(boom, colour, 9) == "CCCCCCCCC");
}

TEST_CASE("a preset of another colour recolours the boom within 100 ms; a code without a colour draws black")
{
    Boom f;
    const std::vector<uint32_t> coloured = catalogueCodes(true);
    const std::vector<uint32_t> black = catalogueCodes(false);
    REQUIRE(coloured.size() >= 2);
    setPresetTip(0, coloured.front());
    setPresetTip(1, coloured.back());
    BoomViewWidget* boom = f.build(9);
    CHECK(states(boom, BoomViewWidget::colourName(coloured.front()), 9) == "CCCCCCCCC");
    f.setItem(DS_CURRENT_TIP_PRESET, 1);
    f.tick100ms();
    CHECK(states(boom, BoomViewWidget::colourName(coloured.back()), 9) == "CCCCCCCCC");
    if (!black.empty()) {
        setPresetTip(2, black.front());
        f.setItem(DS_CURRENT_TIP_PRESET, 2);
        f.tick100ms();
        CHECK(states(boom, "Black", 9) == "CCCCCCCCC");
    }
}

TEST_CASE("what arrives while hidden is stored and drawn on the next show")
{
    Boom f;
    const std::vector<uint32_t> coloured = catalogueCodes(true);
    REQUIRE(!coloured.empty());
    setPresetTip(0, coloured.front());
    BoomViewWidget* boom = f.build(4);
    boom->hide();
    f.setItem(DS_NUMBER_OF_SECTIONS, 2);
    f.setItem(DS_SPRAYING_ACTIVE, 1);
    f.hub()->isSpraying(true);
    f.hub()->activeSectionStatusChanged(0b10);
    pumpEvents();
    boom->show();
    f.tick100ms();
    CHECK(visibleSymbols(boom) == 2);
    CHECK(states(boom, BoomViewWidget::colourName(coloured.front()), 2) == "IA");
    CHECK(shown(boom->sectionLabel(1)).size() == BoomViewWidget::sectionImageSize(2));
}

TEST_CASE("a changed section count shows or hides symbols at once; the width follows at the next redraw")
{
    Boom f;
    BoomViewWidget* boom = f.build(9);
    f.hub()->boomSectionsChanged(12);
    pumpEvents();
    CHECK(visibleSymbols(boom) == 12);
    f.hub()->isSpraying(false);
    pumpEvents();
    CHECK(shown(boom->sectionLabel(12)).size() == BoomViewWidget::sectionImageSize(12));
    f.hub()->boomSectionsChanged(0);
    pumpEvents();
    CHECK(visibleSymbols(boom) == 0);
}

TEST_CASE("boom view: the symbols are rendered when the boom is built, none when spraying starts")
{
    Boom f;
    f.setItem(DS_NUMBER_OF_SECTIONS, 7);
    QPixmapCache::clear();
    auto* boom = new BoomViewWidget(f.page());
    const QString colour = BoomViewWidget::colourName(nozpresetSizeCode(datastoreGetUint16(DS_CURRENT_TIP_PRESET)));
    for (const char* state : {"Active", "Inactive", "Closed"}) {
        CAPTURE(state);
        QPixmap cached;
        CHECK(QPixmapCache::find(QtImageTools::cacheFileName(BoomViewWidget::symbolPath(colour, state),
                                                             BoomViewWidget::sectionImageSize(7), false),
                                 &cached));
    }
    f.place(boom, GuiGeometry::boomViewPos(), GuiGeometry::boomViewSize());
    f.tick100ms();
    // Spraying starts: the pictures come from what the boom holds, the cache is not asked.
    QPixmapCache::clear();
    emit f.hub()->isSpraying(true);
    emit f.hub()->activeSectionStatusChanged(0x05);
    QPixmap cached;
    CHECK_FALSE(QPixmapCache::find(QtImageTools::cacheFileName(BoomViewWidget::symbolPath(colour, "Active"),
                                                               BoomViewWidget::sectionImageSize(7), false),
                                   &cached));
    CHECK(shown(boom->sectionLabel(1)) ==
          symbol(colour, "Active", BoomViewWidget::sectionImageSize(7)));
    CHECK(shown(boom->sectionLabel(2)) ==
          symbol(colour, "Inactive", BoomViewWidget::sectionImageSize(7)));
}
