#include "pointercalibrator.h"

#include "sysroot.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

const int kScale = 65536;
CPointerCalibrator* gInstalled = nullptr;

void identity(double transform[7])
{
    const double values[7] = {1, 0, 0, 0, 1, 0, 1};
    for (int i = 0; i < 7; ++i)
        transform[i] = values[i];
}

// Solves the 3x3 system m x = v by Cramer's rule.
bool solve3(const double m[3][3], const double v[3], double x[3])
{
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    if (std::fabs(d) < 1e-9)
        return false;
    for (int column = 0; column < 3; ++column) {
        double replaced[3][3];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                replaced[r][c] = c == column ? v[r] : m[r][c];
        x[column] = det(replaced) / d;
    }
    return true;
}

// How far the fitted transform puts a touched point from its target, at worst.
double largestMiss(const PointerCalibrationData& data, const double kx[3], const double ky[3])
{
    double worst = 0;
    for (int i = 0; i <= PointerCalibrationData::LastLocation; ++i) {
        const double x = data.devPoints[i].x();
        const double y = data.devPoints[i].y();
        const double dx = kx[0] * x + kx[1] * y + kx[2] - data.screenPoints[i].x();
        const double dy = ky[0] * x + ky[1] * y + ky[2] - data.screenPoints[i].y();
        worst = std::max(worst, std::hypot(dx, dy));
    }
    return worst;
}

// An eighth of the shorter side of the targets' box: a finger that aims at a
// cross misses it by a few pixels, a calibration that misses by more is wrong.
double missTolerance(const PointerCalibrationData& data)
{
    int left = data.screenPoints[0].x(), right = left;
    int top = data.screenPoints[0].y(), bottom = top;
    for (const QPoint& p : data.screenPoints) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return std::min(right - left, bottom - top) / 8.0;
}

}  // namespace

CPointerCalibrator::~CPointerCalibrator() = default;

CPointerCalibrator* CPointerCalibrator::current()
{
    static TslibPointerCalibrator tslib;
    return gInstalled != nullptr ? gInstalled : &tslib;
}

void CPointerCalibrator::install(CPointerCalibrator* calibrator)
{
    gInstalled = calibrator;
}

TslibPointerCalibrator::TslibPointerCalibrator()
{
    identity(mApplied);
}

std::string TslibPointerCalibrator::filePath()
{
    return sysrootPath("/etc/pointercal");
}

void TslibPointerCalibrator::clearCalibration()
{
    identity(mApplied);
    std::ifstream file(filePath());
    double read[7];
    for (double& value : read)
        if (!(file >> value))
            return;
    if (read[6] == 0)
        return;
    for (int i = 0; i < 7; ++i)
        mApplied[i] = read[i];
}

QPoint TslibPointerCalibrator::mapToDevice(const QPoint& position) const
{
    // Inverts x' = (a x + b y + c) / s, y' = (d x + e y + f) / s.
    const double s = mApplied[6];
    const double a = mApplied[0] / s, b = mApplied[1] / s, c = mApplied[2] / s;
    const double d = mApplied[3] / s, e = mApplied[4] / s, f = mApplied[5] / s;
    const double det = a * e - b * d;
    if (std::fabs(det) < 1e-12)
        return position;
    const double px = position.x() - c;
    const double py = position.y() - f;
    return QPoint(static_cast<int>(std::lround((e * px - b * py) / det)),
                  static_cast<int>(std::lround((a * py - d * px) / det)));
}

bool TslibPointerCalibrator::computeTransform(const PointerCalibrationData& data, long long coefficients[7])
{
    // Normal equations of the fit screen = k0 x + k1 y + k2, once for x', once for y'.
    double m[3][3] = {};
    double vx[3] = {};
    double vy[3] = {};
    for (int i = 0; i <= PointerCalibrationData::LastLocation; ++i) {
        const double row[3] = {double(data.devPoints[i].x()), double(data.devPoints[i].y()), 1.0};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                m[r][c] += row[r] * row[c];
            vx[r] += row[r] * data.screenPoints[i].x();
            vy[r] += row[r] * data.screenPoints[i].y();
        }
    }
    double kx[3], ky[3];
    if (!solve3(m, vx, kx) || !solve3(m, vy, ky))
        return false;
    // Touches bunched on a few spots can still give a solvable system whose fit
    // lands far from the targets: such a transform would make the screen
    // untouchable, so it is no calibration.
    if (largestMiss(data, kx, ky) > missTolerance(data))
        return false;
    for (int i = 0; i < 3; ++i) {
        coefficients[i] = std::llround(kx[i] * kScale);
        coefficients[3 + i] = std::llround(ky[i] * kScale);
    }
    coefficients[6] = kScale;
    return true;
}

bool TslibPointerCalibrator::calibrate(const PointerCalibrationData& data)
{
    long long k[7];
    if (!computeTransform(data, k))
        return false;
    std::ostringstream text;
    text << k[0] << ' ' << k[1] << ' ' << k[2] << ' ' << k[3] << ' ' << k[4] << ' ' << k[5] << ' ' << k[6] << '\n';
    // Written whole and renamed into place: the touch input never reads half a file.
    const QString path = QString::fromStdString(filePath());
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::string line = text.str();
    file.write(line.data(), static_cast<qint64>(line.size()));
    return file.commit();
}
