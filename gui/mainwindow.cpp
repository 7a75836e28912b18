#include "mainwindow.h"

#include "clocktimer.h"
#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "greyfellcommon.h"
#include "guiarbitrator.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "nozimage.h"
#include "qtimagetools.h"
#include "screenshot.h"
#include "thumbdrivewatcher.h"

#include <QVariant>
#include <QVBoxLayout>

namespace {
constexpr int powerHoldMs = 2000;
constexpr int ownerProcess = 2;
}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint)
{
    guiInitResources();
    const QSize screen(GuiGeometry::screenWidth(), GuiGeometry::screenHeight());
    resize(screen);
    setMaximumSize(screen);

    centralWidget = new QWidget(this);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    centralWidget->setGeometry(QRect(QPoint(0, 0), screen));
    centralWidget->setMaximumSize(screen);
    centralWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    centralWidget->setContentsMargins(0, 0, 0, 0);
    centralWidget->setProperty("hasBackground", true);
    auto* centralLayout = new QVBoxLayout(centralWidget);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    viewArbitrator = new GuiArbitrator(centralWidget);

    auto* hub = EvSignal::EventSignals::instance();
    screenShotButton = new KestromPushButton(0, this);
    screenShotButton->setObjectName(QStringLiteral("screenShotButton"));
    screenShotButton->setSvgIcon(":/images/snap_shot_camera.svg", GuiGeometry::iconSize50());
    screenShotButton->setProperty("transparent", true);
    screenShotButton->setVisible(datastoreGetBool(DS_SCREENSHOT_ENABLED) != 0);
    connect(screenShotButton, &KestromPushButton::takeAction, this, &MainWindow::takeScreenShot);
    connect(hub, &EvSignal::EventSignals::eventScreenShotEnabled, screenShotButton, &QWidget::setVisible);

    thumbDriveWatcher = new CThumbDriveWatcher(GreyfellCommon::usbRootPath().toStdString());
    screenShotButton->setEnabled(thumbDriveWatcher->isPresent());
    connect(thumbDriveWatcher, &CThumbDriveWatcher::Changed, screenShotButton, &QWidget::setEnabled);
    screenShotButton->resize(GuiGeometry::iconSize50());
    screenShotButton->move(0, GuiGeometry::screenHeight() - GuiGeometry::iconSize50().height() -
                                  GuiGeometry::screenshotButtonMargin());

    screenShotInit();
    connect(thumbDriveWatcher, &CThumbDriveWatcher::Inserted, this, &MainWindow::initScreenShot);

    // Read once: a change of the touch-operation setting applies at the next start.
    if (datastoreGetBool(DS_TOUCH_OPERATION) == 0) {
        connect(hub, &EvSignal::EventSignals::eventPowerButtonPressed, this, &MainWindow::handlePowerDownButton);
    } else {
        // On the runtime's clock, so that the hold is measured as the event timers measure time.
        powerButtonTimer = new ClockTimer(this);
        connect(powerButtonTimer, &ClockTimer::timeout, this, &MainWindow::handlePowerDownButton);
        connect(hub, &EvSignal::EventSignals::eventPowerButtonPressed, this, &MainWindow::handlePowerButtonPress);
        connect(hub, &EvSignal::EventSignals::eventPowerButtonRelease, this, &MainWindow::handlePowerButtonRelease);
    }
}

void MainWindow::handlePowerButtonPress()
{
    powerButtonTimer->start(powerHoldMs);
    powerQueryOpen = false;
}

void MainWindow::handlePowerButtonRelease()
{
    powerButtonTimer->stop();
    if (!powerQueryOpen)
        datastoreToggleItem(DS_SOFT_MASTER_SWITCH);
}

void MainWindow::handlePowerDownButton()
{
    if (!powerQueryOpen) {
        const QPixmap icon = QtImageTools::loadPixmap(":/images/msg_warning.svg", GuiGeometry::iconSize30(), false,
                                                      Qt::KeepAspectRatio);
        CPopupQuery* query = CPopupQuery::askYesNoWithIcon(tr("Power Down", "definition header"),
                                                           tr("Do you want to power down?", "power down Option definition"),
                                                           icon, 1, 0);
        connect(query, &CPopupQuery::ResponseReceived, this, &MainWindow::ResponsePowerDownYesNoClicked);
    }
    powerQueryOpen = true;
}

void MainWindow::ResponsePowerDownYesNoClicked(CPopupQuery*, int answer)
{
    if (answer == 1)
        eventPost(ownerProcess, EV_POWER_DOWN, 0);
    powerQueryOpen = false;
}

void MainWindow::takeScreenShot()
{
    QString fileName;
    screenShotSave(centralWidget, fileName);
}

void MainWindow::initScreenShot()
{
    screenShotInit();
}
