#include "cmdrunner.h"
#include "ctouchscreencalibration.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <QTimer>

#include <vector>

namespace {

// Records each call and hands it on to the tslib file.
class RecordingCalibrator : public CPointerCalibrator {
public:
    void clearCalibration() override
    {
        ++clears;
        file.clearCalibration();
    }
    QPoint mapToDevice(const QPoint& position) const override { return file.mapToDevice(position); }
    bool calibrate(const PointerCalibrationData& data) override
    {
        calls.push_back(data);
        return file.calibrate(data);
    }
    int clears = 0;
    std::vector<PointerCalibrationData> calls;
    TslibPointerCalibrator file;
};

struct Calibration : WithGuiApplication {
    Calibration()
    {
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        CPointerCalibrator::install(&calibrator);
    }
    ~Calibration() { CPointerCalibrator::install(nullptr); }
    TestRoot root;
    RecordingCalibrator calibrator;
};

bool crossAt(const QImage& shot, QPoint p)
{
    return shot.pixelColor(p) == Qt::black && shot.pixelColor(p + QPoint(6, 0)) == Qt::black &&
           shot.pixelColor(p + QPoint(0, -6)) == Qt::black && shot.pixelColor(p + QPoint(7, 0)) == Qt::white &&
           shot.pixelColor(p + QPoint(2, 2)) == Qt::white;
}

int countLines(const std::string& text, const std::string& line)
{
    int count = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (text.compare(start, end - start, line) == 0)
            ++count;
        start = end + 1;
    }
    return count;
}

// Runs the dialog with the panel reporting the given points, one release each.
int runCalibration(CTouchScreenCalibration& dialog, const std::vector<QPoint>& touched)
{
    QTimer::singleShot(0, [&] {
        for (const QPoint& p : touched) {
            QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, p);
            QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, p);
        }
    });
    return dialog.exec();
}

}  // namespace

TEST_CASE("touches that give no usable calibration are refused and the previous calibration stays")
{
    // The calibration in force maps the panel one to one, so the dialog gets
    // the panel's points as they are.
    const std::string previous = "65536 0 0 0 65536 0 65536\n";
    const struct {
        const char* name;
        std::vector<QPoint> touched;
    } cases[] = {
        {"five touches on one spot", {{200, 100}, {200, 100}, {200, 100}, {200, 100}, {200, 100}}},
        {"touches bunched within a few pixels", {{200, 100}, {201, 103}, {203, 102}, {202, 99}, {201, 101}}},
        {"touches along one line", {{10, 10}, {20, 20}, {30, 30}, {40, 40}, {50, 50}}},
        {"one corner touched in the wrong place", {{48, 27}, {48, 245}, {432, 245}, {240, 136}, {240, 136}}},
    };
    for (const auto& c : cases) {
        const std::string name = c.name;
        CAPTURE(name);
        Calibration calibration;
        REQUIRE(writeTextFile(calibration.root.path("/etc/pointercal"), previous));
        CTouchScreenCalibration dialog;
        const int result = runCalibration(dialog, c.touched);
        CHECK(result == QDialog::Rejected);
        CHECK(calibration.calibrator.calls.size() == 1);
        CHECK(readTextFile(calibration.root.path("/etc/pointercal")) == previous);
        CHECK(countLines(readTextFile(cmdLogPath()), "sync") == 0);
    }
}

TEST_CASE("a finger that misses each cross by a few pixels still calibrates")
{
    Calibration c;
    CTouchScreenCalibration dialog;
    const std::vector<QPoint> touched = {{51, 25}, {45, 248}, {434, 242}, {429, 30}, {243, 134}};
    CHECK(runCalibration(dialog, touched) == QDialog::Accepted);
    CHECK(c.calibrator.calls.size() == 1);
    CHECK(readTextFile(c.root.path("/etc/pointercal")) != "");
    CHECK(countLines(readTextFile(cmdLogPath()), "sync") == 3);
}

TEST_CASE("five crosses, one per release; the fifth hands the touched points to the calibrator")
{
    Calibration c;
    CTouchScreenCalibration dialog;
    const QPoint targets[5] = {{48, 27}, {48, 245}, {432, 245}, {432, 27}, {240, 136}};
    for (int i = 0; i < 5; ++i)
        CHECK(dialog.data().screenPoints[i] == targets[i]);
    CHECK(dialog.geometry() == QRect(0, 0, 480, 272));

    // The panel reports twice the screen position plus an offset.
    auto touched = [](QPoint target) { return QPoint(2 * target.x() + 10, 2 * target.y() + 5); };
    std::vector<bool> crossShown;
    bool pressMovedNothing = true;
    QTimer::singleShot(0, [&] {
        for (int i = 0; i < 5; ++i) {
            crossShown.push_back(crossAt(dialog.grab().toImage(), targets[i]));
            QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, touched(targets[i]));
            pressMovedNothing = pressMovedNothing && dialog.pressCount() == i;
            QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, touched(targets[i]));
        }
    });
    const int result = dialog.exec();

    CHECK(result == QDialog::Accepted);
    CHECK(crossShown == std::vector<bool>(5, true));
    CHECK(pressMovedNothing);
    CHECK(c.calibrator.clears == 1);
    REQUIRE(c.calibrator.calls.size() == 1);
    for (int i = 0; i < 5; ++i) {
        CAPTURE(i);
        CHECK(c.calibrator.calls[0].devPoints[i] == touched(targets[i]));
        CHECK(c.calibrator.calls[0].screenPoints[i] == targets[i]);
    }
    // x = (x_raw - 10) / 2, y = (y_raw - 5) / 2 in 1/65536
    CHECK(readTextFile(c.root.path("/etc/pointercal")) == "32768 0 -327680 0 32768 -163840 65536\n");
    CHECK(countLines(readTextFile(cmdLogPath()), "sync") == 3);
}

TEST_CASE("the tslib calibration file")
{
    Calibration c;
    TslibPointerCalibrator file;

    SUBCASE("while cleared, positions are taken back through the calibration in force")
    {
        REQUIRE(writeTextFile(c.root.path("/etc/pointercal"), "32768 0 -327680 0 32768 -163840 65536\n"));
        CHECK(file.mapToDevice(QPoint(48, 27)) == QPoint(48, 27));  // nothing read yet
        file.clearCalibration();
        CHECK(file.mapToDevice(QPoint(48, 27)) == QPoint(106, 59));
        CHECK(file.mapToDevice(QPoint(240, 136)) == QPoint(490, 277));
    }
    SUBCASE("a missing or damaged file counts as no calibration")
    {
        file.clearCalibration();
        CHECK(file.mapToDevice(QPoint(12, 34)) == QPoint(12, 34));
        REQUIRE(writeTextFile(c.root.path("/etc/pointercal"), "1 2 3\n"));
        file.clearCalibration();
        CHECK(file.mapToDevice(QPoint(12, 34)) == QPoint(12, 34));
    }
    SUBCASE("points on one line give no calibration and leave the file alone")
    {
        REQUIRE(writeTextFile(c.root.path("/etc/pointercal"), "65536 0 0 0 65536 0 65536\n"));
        PointerCalibrationData data;
        for (int i = 0; i < 5; ++i) {
            data.devPoints[i] = QPoint(i * 10, i * 10);
            data.screenPoints[i] = QPoint(i * 20, i * 5);
        }
        CHECK_FALSE(file.calibrate(data));
        CHECK(readTextFile(c.root.path("/etc/pointercal")) == "65536 0 0 0 65536 0 65536\n");
    }
    SUBCASE("a rotated and scaled panel is fitted by least squares")
    {
        PointerCalibrationData data;
        const QPoint targets[5] = {{48, 27}, {48, 245}, {432, 245}, {432, 27}, {240, 136}};
        for (int i = 0; i < 5; ++i) {
            data.screenPoints[i] = targets[i];
            data.devPoints[i] = QPoint(4 * targets[i].y(), 3 * targets[i].x());  // axes swapped
        }
        long long k[7];
        REQUIRE(TslibPointerCalibrator::computeTransform(data, k));
        const long long expected[7] = {0, 21845, 0, 16384, 0, 0, 65536};
        for (int i = 0; i < 7; ++i) {
            CAPTURE(i);
            CHECK(k[i] == expected[i]);
        }
    }
}
