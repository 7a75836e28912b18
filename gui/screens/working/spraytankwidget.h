#pragma once
// The spray tank gauge of the working screen: a vertical bar from empty to the
// full-tank content with the content as a whole number in the operator's
// units. The content is read every 600 ms while shown; the full-tank content
// only when the gauge is shown again.
#include "backgroundwidget.h"

class QProgressBar;

class SprayTankWidget : public BackgroundWidget {
    Q_OBJECT
public:
    explicit SprayTankWidget(QWidget* parent);

    void timedUpdate() override;

    QProgressBar* bar() const { return mBar; }
    int maximum() const { return mMaximum; }
    // -1 until a value is shown.
    int shownValue() const { return mShownValue; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // False when the unit table gives no display scale: nothing to show then.
    static bool maximumNow(int* maximum);
    static bool valueNow(int* value);
    void applyMaximum();

    QProgressBar* mBar;
    int mMaximum = 5000;
    int mShownValue = 2500;
    int mRefreshCount = 5;
};
