#pragma once
// The console's one top-level window: the views, the overlay layer, the camera
// button that saves the screen to the USB stick, and the power button: a press
// (or, in touch operation, a 2000 ms hold) asks whether to power down; in touch
// operation a short press toggles the software master switch. GUI thread only.
#include <QWidget>

class CPopupQuery;
class CThumbDriveWatcher;
class ClockTimer;
class GuiArbitrator;
class KestromPushButton;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    GuiArbitrator* arbitrator() const { return viewArbitrator; }
    KestromPushButton* cameraButton() const { return screenShotButton; }

public slots:
    void handlePowerDownButton();
    void handlePowerButtonPress();
    void handlePowerButtonRelease();
    void ResponsePowerDownYesNoClicked(CPopupQuery* query, int answer);
    void takeScreenShot();
    void initScreenShot();

private:
    QWidget* centralWidget;
    GuiArbitrator* viewArbitrator;
    KestromPushButton* screenShotButton;
    CThumbDriveWatcher* thumbDriveWatcher;
    ClockTimer* powerButtonTimer = nullptr;
    bool powerQueryOpen = false;
};
