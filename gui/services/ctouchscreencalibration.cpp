#include "ctouchscreencalibration.h"

#include "cdebug.h"
#include "cmdrunner.h"
#include "guigeometry.h"

#include <QMouseEvent>
#include <QPainter>

CTouchScreenCalibration::CTouchScreenCalibration() : QDialog(nullptr)
{
    const int w = GuiGeometry::screenWidth();
    const int h = GuiGeometry::screenHeight();
    setGeometry(0, 0, w, h);
    setFocusPolicy(Qt::StrongFocus);
    setFocus(Qt::OtherFocusReason);
    setModal(true);
    mData.screenPoints[PointerCalibrationData::TopLeft] = QPoint(w / 10, h / 10);
    mData.screenPoints[PointerCalibrationData::BottomLeft] = QPoint(w / 10, h - h / 10);
    mData.screenPoints[PointerCalibrationData::BottomRight] = QPoint(w - w / 10, h - h / 10);
    mData.screenPoints[PointerCalibrationData::TopRight] = QPoint(w - w / 10, h / 10);
    mData.screenPoints[PointerCalibrationData::Center] = QPoint(w / 2, h / 2);
}

int CTouchScreenCalibration::exec()
{
    CPointerCalibrator::current()->clearCalibration();
    grabMouse();
    activateWindow();
    const int result = QDialog::exec();
    releaseMouse();
    return result;
}

void CTouchScreenCalibration::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (mPressCount > PointerCalibrationData::LastLocation)
        return;
    const QPoint target = mData.screenPoints[mPressCount];
    painter.fillRect(QRect(QPoint(target.x() - 6, target.y() - 1), QPoint(target.x() + 6, target.y() + 1)), Qt::black);
    painter.fillRect(QRect(QPoint(target.x() - 1, target.y() - 6), QPoint(target.x() + 1, target.y() + 6)), Qt::black);
}

void CTouchScreenCalibration::mouseReleaseEvent(QMouseEvent* event)
{
    if (mPressCount > PointerCalibrationData::LastLocation)
        return;
    mData.devPoints[mPressCount] = CPointerCalibrator::current()->mapToDevice(event->pos());
    ++mPressCount;
    if (mPressCount <= PointerCalibrationData::LastLocation)
        repaint();
    else
        accept();
}

void CTouchScreenCalibration::accept()
{
    // A calibration that cannot be kept ends the dialog rejected: the opener
    // learns that the previous calibration is still in force.
    if (!CPointerCalibrator::current()->calibrate(mData)) {
        CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "touch calibration refused: the touches give no usable calibration");
        QDialog::reject();
        return;
    }
    QDialog::accept();
    for (int i = 0; i < 3; ++i)
        cmdRun("sync");
}
