#pragma once
// Where a touch-screen calibration goes. The calibration screen hands its five
// pairs of touched and target points to the calibrator in force; the default
// one keeps the tslib calibration file /etc/pointercal (below the system root
// off the device), which the touch input reads when it starts.
#include <QPoint>

#include <string>

struct PointerCalibrationData {
    enum Location { TopLeft = 0, BottomLeft = 1, BottomRight = 2, TopRight = 3, Center = 4, LastLocation = Center };
    QPoint devPoints[LastLocation + 1];     // where the panel reported each touch
    QPoint screenPoints[LastLocation + 1];  // the targets
};

class CPointerCalibrator {
public:
    virtual ~CPointerCalibrator();
    // From now on until calibrate, points are taken as the panel reports them.
    virtual void clearCalibration() = 0;
    // A position as delivered to the GUI, back in the panel's own coordinates.
    virtual QPoint mapToDevice(const QPoint& position) const = 0;
    // Computes and keeps the new calibration; false, keeping the previous one,
    // when the points give no usable calibration or it cannot be kept.
    virtual bool calibrate(const PointerCalibrationData& data) = 0;

    // The calibrator in force: the tslib file unless another was installed
    // (nullptr restores the file). The caller keeps ownership of its own.
    static CPointerCalibrator* current();
    static void install(CPointerCalibrator* calibrator);
};

// The tslib linear calibration: seven integers a b c d e f s with
// x' = (a x + b y + c) / s and y' = (d x + e y + f) / s, s = 65536.
class TslibPointerCalibrator : public CPointerCalibrator {
public:
    TslibPointerCalibrator();

    void clearCalibration() override;
    QPoint mapToDevice(const QPoint& position) const override;
    bool calibrate(const PointerCalibrationData& data) override;

    // The least-squares affine fit of the touched points onto the targets;
    // false when it is no usable calibration: the points do not span the
    // screen (all on one spot or one line), or the fit leaves a touched point
    // far from its target.
    static bool computeTransform(const PointerCalibrationData& data, long long coefficients[7]);
    static std::string filePath();

private:
    // The calibration that the touch input applies until the next start.
    double mApplied[7];
};
