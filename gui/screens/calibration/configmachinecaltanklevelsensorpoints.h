#pragma once
// The three point calibrations of the tank-level sensor (empty tank, minimum
// level, maximum level): the live raw reading as a bar and "Calibrate", which
// has the core store that reading as the point; the minimum and maximum pages
// also show the tank content the point stands for. One design, three pages
// that differ in their point (TankPoint) and texts. A reading the point's
// limits refuse is reported as a failure, the old point kept.
#include "widgettimedfocusupdateqt.h"

#include "sensorbarrow.h"

#include <cstdint>

class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

// What distinguishes one point page from the others.
struct TankPoint {
    const char* objectName;
    const char* autoIcon;       // of the "Automatic Calibration" button
    const char* contentIcon;    // of the content's help button; null: no content row
    uint32_t contentQuantity;   // shown on the content label
    uint32_t command;           // the dispatcher command that takes the point
    uint32_t pointItem;         // the item the core sets from the live reading
};

// The page's own texts, in its own translation context.
struct TankPointTexts {
    QString pathway;            // second pathway part
    QString contentName;        // the content's help button
    QString completion;
    QString autoHelp;
    QString contentHelp;
};

class ConfigMachineCalTankLevelSensorPoint : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    void timedUpdate() override;
    SettingPageKit* kit() const { return mKit; }
    QLabel* contentLabel() const { return mContentLabel; }

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void calibrationDone();
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    ConfigMachineCalTankLevelSensorPoint(const TankPoint& point, QWidget* parent);
    virtual TankPointTexts texts() const = 0;
    void refreshContent();
    void changeEvent(QEvent* event) override;

private:
    const TankPoint mPoint;
    SettingPageKit* mKit;
    KestromPushButton* mAutoButton;
    KestromPushButton* mContentButton = nullptr;
    QLabel* mContentLabel = nullptr;
    KestromPushButton* mCalibrateButton;
    SensorBarRow mBar;
};

class ConfigMachineCalTankLevelSensorEmpty : public ConfigMachineCalTankLevelSensorPoint {
    Q_OBJECT
public:
    explicit ConfigMachineCalTankLevelSensorEmpty(QWidget* parent = nullptr);

protected:
    TankPointTexts texts() const override;
};

class ConfigMachineCalTankLevelSensorMin : public ConfigMachineCalTankLevelSensorPoint {
    Q_OBJECT
public:
    explicit ConfigMachineCalTankLevelSensorMin(QWidget* parent = nullptr);

public slots:
    void updateTankContentValue() { refreshContent(); }

protected:
    TankPointTexts texts() const override;
};

class ConfigMachineCalTankLevelSensorMax : public ConfigMachineCalTankLevelSensorPoint {
    Q_OBJECT
public:
    explicit ConfigMachineCalTankLevelSensorMax(QWidget* parent = nullptr);

public slots:
    void updateTankContentValue() { refreshContent(); }

protected:
    TankPointTexts texts() const override;
};

}  // namespace ToolsViewWidgets
