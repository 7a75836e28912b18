#pragma once
// The droplet-size scale above the boom: for the active preset's tip, a bar of
// pressures from 0 to one bar above the tip's upper limit with one coloured
// band per droplet-size category, the pressure scale below it, the speeds that
// need each pressure at the target rate above it, a red diamond at the live
// pressure and the category at the live pressure at the left. Rebuilt every
// 600 ms while shown, redoing only the parts whose inputs changed.
#include "backgroundwidget.h"

#include <QList>
#include <QMap>
#include <QRectF>
#include <QString>

#include <cstdint>

class QLabel;

class DropletSizeWidget : public BackgroundWidget {
    Q_OBJECT
public:
    enum : int { CategoryCount = 8 };

    explicit DropletSizeWidget(QWidget* parent);

    void timedUpdate() override;

    // Category 1..8 of the active preset's tip at pressure p (bar x 100); 0 for none.
    static int categoryAtPressure(int pressure);
    // "UC" .. "XF" for categories 1 to 8, one blank for any other.
    static QString categoryText(int category);

    QRectF barRect() const;
    // What the last rebuild left (construction values before the first one).
    int scaleEnd() const { return mScaleEnd; }
    int boundary(int k) const { return mBounds[k]; }
    int intervalCount() const { return mIntervals; }
    double scaleFraction() const { return mFraction; }
    int labelStep() const { return mLabelStep; }
    QString pressureUnit() const { return mPressureUnit; }
    QString speedUnit() const { return mSpeedUnit; }
    // Speed (whole display units) to its place on the bar (0..1).
    const QMap<int, float>& speedLabels() const { return mSpeedLabels; }
    const QList<float>& speedTicks() const { return mSpeedTicks; }
    int livePressure() const { return mLivePressure; }
    int currentCategory() const { return mCategory; }
    // Band k (1..8) on the bar; false when the band is not drawn.
    bool bandRect(int k, QRectF* rect) const;

public slots:
    void updateNozzleSelect();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuildBands(uint32_t preset);
    void rebuildUnitTexts();
    void rebuildPressureScale();
    void rebuildSpeedScale();
    // True when the live pressure or its category changed.
    bool updateCategory();

    int smallFontSize() const;
    int largeFontSize() const;
    // Where the scale texts start: half a text width left of the bar.
    double textStart(double textWidth) const;
    void drawPressureTicks(QPainter& painter) const;
    void drawSpeedTicks(QPainter& painter) const;
    void drawPressureLabels(QPainter& painter) const;
    void drawSpeedLabels(QPainter& painter) const;
    void drawPressureMarker(QPainter& painter) const;

    QLabel* mSmallLabel;
    QLabel* mLargeLabel;
    int mScaleEnd = 500;
    int mBounds[CategoryCount + 1] = {80, 90, 100, 180, 410, 440, 480, 480, 480};
    int mLivePressure = 220;
    int mCategory = 4;
    int mIntervals = 5;
    double mFraction = 1.0;
    QString mPressureUnit = QStringLiteral("bar");
    int mLabelStep = 1;
    QString mSpeedUnit = QStringLiteral("kmh");
    uint32_t mUnitSystem = 0;
    uint32_t mTargetRate = 0;
    // No tip yet: the first refresh rebuilds whatever tip is active.
    uint16_t mSeries = 0xFFFF;
    uint16_t mSize = 0xFFFF;
    QMap<int, float> mSpeedLabels;
    QList<float> mSpeedTicks;
    int mRefreshCount = 0;
};
