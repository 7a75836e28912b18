#pragma once
// The touch-screen calibration: a full-screen dialog shows a cross at five
// targets one after the other (the corners 10 % in from the edges, then the
// centre), records where the panel reports each release, and hands the five
// pairs to the pointer calibrator. The fifth release ends it: accepted when
// the calibrator keeps the new calibration, rejected when the touches give
// none (the previous calibration then stays).
#include "pointercalibrator.h"

#include <QDialog>

class CTouchScreenCalibration : public QDialog {
    Q_OBJECT
public:
    CTouchScreenCalibration();

    int exec() override;
    void accept() override;

    const PointerCalibrationData& data() const { return mData; }
    int pressCount() const { return mPressCount; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    PointerCalibrationData mData;
    int mPressCount = 0;
};
