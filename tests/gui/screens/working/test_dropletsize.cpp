// The droplet-size scale: what a rebuild derives from the tip, the unit system
// and the target rate, and what the picture shows of it.
#include "dropletsizewidget.h"
#include "guigeometry.h"
#include "nozzle_fixture.h"
#include "regulmath.h"
#include "screen_check.h"
#include "unitquantities.h"
#include "units.h"

#include <doctest/doctest.h>

#include <QImage>

namespace {

struct Droplet : NozzleFixture {
    explicit Droplet(uint32_t system = UNIT_SYSTEM_METRIC) : NozzleFixture(system)
    {
        setItem(DS_DENSITY_FACTOR, 1000);
        setItem(DS_TIP_SPACING, 500);
        scale = new DropletSizeWidget(page());
        place(scale, GuiGeometry::dropletWidgetPos(), GuiGeometry::dropletWidgetSize());
    }
    // The first rebuild comes on the sixth beat after the show.
    void rebuild() { tick100ms(6); }
    QImage picture() const { return scale->grab().toImage(); }

    DropletSizeWidget* scale;
};

// The upper pressure limit of the default tip of preset 0, so that the scale ends where wanted.
void setUpperLimit(uint32_t limit)
{
    REQUIRE(nozinfoSetCustomPressRange(3, 0, nozinfoPressureLimit(3, 0, 0), limit) == 1);
}

}  // namespace

TEST_CASE("droplet scale: construction values until the first rebuild, 600 ms after the first show")
{
    Droplet f;
    CHECK(f.scale->pressureUnit() == "bar");
    CHECK(f.scale->speedUnit() == "kmh");
    const int construction[9] = {80, 90, 100, 180, 410, 440, 480, 480, 480};
    for (int k = 0; k <= 8; ++k)
        CHECK(f.scale->boundary(k) == construction[k]);
    CHECK(f.scale->scaleEnd() == 500);
    CHECK(f.scale->speedLabels().isEmpty());
    CHECK(f.scale->speedTicks().isEmpty());
    f.tick100ms(5);
    CHECK(f.scale->speedUnit() == "kmh");
    f.tick100ms();
    CHECK(f.scale->speedUnit() == "km/h");
    CHECK(f.scale->scaleEnd() == static_cast<int>(nozpresetPressureLimit(0, 1)) + 100);
    CHECK(f.scale->boundary(0) == 0);
}

TEST_CASE("droplet scale: scale end, label step and intervals by unit system")
{
    const struct {
        uint32_t system;
        uint32_t limit;
        int end;
        int step;
        int intervals;
        const char* unit;
        const char* speedUnit;
    } cases[] = {
        {UNIT_SYSTEM_METRIC, 900, 1000, 1, 10, "bar", "km/h"},
        {UNIT_SYSTEM_METRIC, 901, 1001, 2, 5, "bar", "km/h"},
        {UNIT_SYSTEM_METRIC, 500, 600, 1, 6, "bar", "km/h"},
        {UNIT_SYSTEM_US, 400, 500, 10, 7, "psi", "mph"},
        {UNIT_SYSTEM_US, 900, 1000, 15, 9, "psi", "mph"},
        {UNIT_SYSTEM_IMPERIAL, 901, 1001, 30, 4, "psi", "mph"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.system);
        CAPTURE(c.limit);
        Droplet f(c.system);
        setUpperLimit(c.limit);
        f.rebuild();
        CHECK(f.scale->scaleEnd() == c.end);
        CHECK(f.scale->labelStep() == c.step);
        CHECK(f.scale->intervalCount() == c.intervals);
        // The intervals cover exactly their whole labels of the bar.
        const int shown = unitBaseToDisplay(UQ_PRESSURE_251, c.end);
        CHECK(f.scale->scaleFraction() == doctest::Approx(double(c.intervals) * 10 * c.step / shown));
        CHECK(f.scale->scaleFraction() <= 1.0);
        CHECK(f.scale->pressureUnit() == c.unit);
        CHECK(f.scale->speedUnit() == c.speedUnit);
    }
}

TEST_CASE("droplet scale: bands from the tip's categories, none for a category it lacks")
{
    for (uint32_t size : {0u, 2u, 4u}) {
        CAPTURE(size);
        Droplet f;
        NozzleFixture::setPreset(0, 3, size);
        f.rebuild();
        bool has[9] = {};
        int first = 0;
        int last = 0;
        for (int k = 1; k <= 8; ++k) {
            uint32_t lower = 0;
            has[k] = nozpresetDropletPressureBand(0, static_cast<uint32_t>(k), &lower, 0) != 0;
            if (has[k] && first == 0)
                first = k;
            if (has[k])
                last = k;
        }
        REQUIRE(first > 0);
        REQUIRE(last > first);
        for (int k = 1; k <= 8; ++k) {
            CAPTURE(k);
            QRectF band;
            if (!has[k])
                CHECK_FALSE(f.scale->bandRect(k, &band));
            else if (k < last)
                CHECK(f.scale->bandRect(k, &band));
        }
        // The first band starts at its category's lower boundary.
        uint32_t lower = 0;
        REQUIRE(nozpresetDropletPressureBand(0, static_cast<uint32_t>(first), &lower, 0) != 0);
        CHECK(f.scale->boundary(first - 1) == static_cast<int>(lower));
        // Neighbouring bands meet where the category changes.
        for (int k = first; k + 1 < last; ++k) {
            CAPTURE(k);
            QRectF left;
            QRectF right;
            REQUIRE(f.scale->bandRect(k, &left));
            REQUIRE(f.scale->bandRect(k + 1, &right));
            CHECK(left.right() == doctest::Approx(right.left()));
        }
    }
}

TEST_CASE("droplet scale: a target rate of 0 puts the hundred speeds at the left end")
{
    Droplet f;
    f.setItem(DS_LIVE_TARGET_RATE, 0);
    f.rebuild();
    REQUIRE(f.scale->speedLabels().size() == 100);
    CHECK(f.scale->speedLabels().firstKey() == 0);
    CHECK(f.scale->speedLabels().lastKey() == 99);
    for (float u : f.scale->speedLabels())
        CHECK(u == 0.0f);
    REQUIRE(f.scale->speedTicks().size() == 100);
    for (float u : f.scale->speedTicks())
        CHECK(u == 0.0f);
}

TEST_CASE("droplet scale: the speed scale stops at the first speed whose pressure passes the end")
{
    const uint32_t rates[] = {1000, 2000, 4000};
    for (uint32_t rate : rates) {
        CAPTURE(rate);
        Droplet f;
        f.setItem(DS_LIVE_TARGET_RATE, rate);
        f.rebuild();
        // The needed pressure of each whole speed, as the core gives it.
        int stop = 100;
        int inCategory = 0;
        for (int v = 0; v < 100; ++v) {
            const uint32_t speed = static_cast<uint32_t>(unitDisplayToBase(UQ_ACTUAL_SPEED, v * 10));
            const int q = static_cast<int>(pressureFromFlow(flowFromRate(rate, speed, 500), 1, nozzleRefFlowTotal(1)));
            if (q > f.scale->scaleEnd()) {
                stop = v;
                break;
            }
            if (q == 0 || DropletSizeWidget::categoryAtPressure(q) != 0)
                ++inCategory;
        }
        CAPTURE(stop);
        REQUIRE(stop < 100);
        CHECK(f.scale->speedTicks().size() == inCategory);
        REQUIRE_FALSE(f.scale->speedLabels().isEmpty());
        CHECK(f.scale->speedLabels().lastKey() < stop);
        CHECK(f.scale->speedLabels().firstKey() == 0);
        float previous = -1.0f;
        for (float u : f.scale->speedLabels()) {
            CHECK(u <= 1.0f);
            // Labels stand a tenth of the scale apart at least, but for the last.
            CHECK(u > previous);
            previous = u;
        }
        for (float u : f.scale->speedTicks())
            CHECK(u <= 1.0f);
    }
}

TEST_CASE("droplet scale: a rebuild redoes only what changed")
{
    Droplet f;
    f.setItem(DS_LIVE_TARGET_RATE, 2000);
    f.rebuild();
    const int end = f.scale->scaleEnd();
    const QMap<int, float> labels = f.scale->speedLabels();

    // A new limit for the same tip is not a new tip: the scale end stays.
    setUpperLimit(static_cast<uint32_t>(end - 100 + 300));
    f.rebuild();
    CHECK(f.scale->scaleEnd() == end);
    CHECK(f.scale->speedLabels() == labels);

    // Only the target rate: the speed scale follows, the bands and end stay.
    f.setItem(DS_LIVE_TARGET_RATE, 1000);
    f.rebuild();
    CHECK(f.scale->scaleEnd() == end);
    CHECK(f.scale->speedLabels() != labels);

    // Another unit system: texts, step and scales follow.
    REQUIRE(unitSetSystem(UNIT_SYSTEM_US) == 1);
    f.rebuild();
    CHECK(f.scale->pressureUnit() == "psi");
    CHECK(f.scale->scaleEnd() == end);

    // Another tip: everything, with the new limit.
    f.setItem(DS_CURRENT_TIP_PRESET, 1);
    f.setItem(DS_CURRENT_TIP_PRESET, 0);
    NozzleFixture::setPreset(0, 3, 1);
    f.rebuild();
    CHECK(f.scale->scaleEnd() == static_cast<int>(nozpresetPressureLimit(0, 1)) + 100);
    REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
}

TEST_CASE("droplet scale: the category at the live pressure")
{
    const char* const texts[] = {" ", "UC", "XC", "VC", "C", "M", "F", "VF", "XF", " ", " "};
    for (int code = 0; code <= 10; ++code) {
        CAPTURE(code);
        CHECK(DropletSizeWidget::categoryText(code) == texts[code]);
    }
    CHECK(DropletSizeWidget::categoryText(-1) == " ");

    Droplet f;
    int categories = 0;
    for (uint32_t pressure = 0; pressure <= 1500; pressure += 50) {
        CAPTURE(pressure);
        f.setItem(DS_LIVE_PRESSURE, pressure);
        f.rebuild();
        CHECK(f.scale->livePressure() == static_cast<int>(pressure));
        const uint32_t code = nozpresetDropletCode(0, pressure);
        const int expected = code >= 1 && code <= 8 ? static_cast<int>(code) : 0;
        CHECK(f.scale->currentCategory() == expected);
        categories += expected != 0 ? 1 : 0;
    }
    CHECK(categories > 2);
    f.setItem(DS_LIVE_PRESSURE, 9000);
    f.rebuild();
    CHECK(f.scale->currentCategory() == 0);
}

TEST_CASE("droplet picture at 480 x 60: bar, bands in their colours and the live-pressure diamond")
{
    Droplet f;
    f.setItem(DS_LIVE_TARGET_RATE, 2000);
    f.setItem(DS_LIVE_PRESSURE, 0);
    f.rebuild();
    REQUIRE(f.scale->size() == QSize(480, 60));
    CHECK(f.scale->barRect() == QRectF(53, 24, 373, 15));

    const QImage picture = f.picture();
    const QColor colours[9] = {QColor(), Qt::black, Qt::white, Qt::blue, Qt::green, Qt::yellow,
                               QColor(255, 102, 0), Qt::red, QColor(255, 0, 255)};
    int bands = 0;
    for (int k = 1; k <= 8; ++k) {
        QRectF band;
        if (!f.scale->bandRect(k, &band))
            continue;
        ++bands;
        CAPTURE(k);
        // Inside the band, clear of its black outline.
        const double w = 373.0 / f.scale->scaleEnd();
        const int left = 53 + static_cast<int>(f.scale->boundary(k - 1) * w) + 2;
        const int right = 53 + static_cast<int>(f.scale->boundary(k) * w) - 2;
        REQUIRE(left < right);
        for (int x : {left, (left + right) / 2, right})
            CHECK(picture.pixelColor(x, 31) == colours[k]);
    }
    CHECK(bands >= 2);
    CHECK_SCREEN(f.screen(), "droplet_scale");

    // A live pressure above the end: the diamond stands at the bar's right end.
    f.setItem(DS_LIVE_PRESSURE, static_cast<uint32_t>(f.scale->scaleEnd() + 500));
    f.rebuild();
    const QImage high = f.picture();
    CHECK(high.pixelColor(426, 31) == QColor(Qt::red));
    CHECK(high.pixelColor(424, 31) == QColor(Qt::red));
    CHECK(high.pixelColor(426, 26) != QColor(Qt::red));
    CHECK(f.scale->currentCategory() == 0);
}

TEST_CASE("droplet scale without a pressure display scale keeps its scale")
{
    Droplet f;
    f.rebuild();
    const int intervals = f.scale->intervalCount();
    const double fraction = f.scale->scaleFraction();
    REQUIRE(unitCreateTable(0) == 1);
    NozzleFixture::setPreset(0, 3, 2);
    f.rebuild();
    CHECK(f.scale->intervalCount() == intervals);
    CHECK(f.scale->scaleFraction() == fraction);
    f.scale->repaint();
    REQUIRE(unitTableStart(UNIT_SYSTEM_METRIC));
}

TEST_CASE("droplet scale: repainted only when a shown value changes")
{
    struct Case {
        const char* what;
        uint32_t item;
        uint32_t value;
        bool repaint;
    };
    const Case cases[] = {
        {"nothing changed", DS_LIVE_PRESSURE, 300, false},
        {"live pressure", DS_LIVE_PRESSURE, 310, true},
        {"target rate", DS_LIVE_TARGET_RATE, 1500, true},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.what));
        Droplet f;
        f.setItem(DS_LIVE_PRESSURE, 300);
        f.setItem(DS_LIVE_TARGET_RATE, 1000);
        f.rebuild();
        PaintCounter paints(f.scale);
        f.rebuild();
        CHECK(paints.take() == 0);
        f.setItem(c.item, c.value);
        f.rebuild();
        CHECK((paints.take() > 0) == c.repaint);
        f.rebuild();
        CHECK(paints.take() == 0);
    }
}

TEST_CASE("droplet scale: the first refresh rebuilds for any tip, the first series and size included")
{
    Droplet f;
    NozzleFixture::setPreset(0, 0, 0);
    auto* fresh = new DropletSizeWidget(f.page());
    f.place(fresh, GuiGeometry::dropletWidgetPos(), GuiGeometry::dropletWidgetSize());
    CHECK(fresh->speedUnit() == "kmh");
    f.rebuild();
    CHECK(fresh->speedUnit() == "km/h");
    CHECK(fresh->scaleEnd() == static_cast<int>(nozpresetPressureLimit(0, 1)) + 100);
}
