#include "configmachinecaltanklevel.h"

#include "calibrationresources.h"
#include "configmachinecaltanklevelsensorpoints.h"
#include "configmachinecaltanklevelsensorshape.h"
#include "cpopupquery.h"
#include "filedesc.h"
#include "greyfellcommon.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"
#include "tank.h"
#include "thumbdrivewatcher.h"
#include "toolsmisc.h"

#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace ToolsViewWidgets {

namespace {

// Far above any tank calibration file (a few kilobytes): a larger one is not one.
constexpr qint64 kLargestFile = 1 << 20;

bool pathExists(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// The whole file, when it is a regular file that could be read.
bool readWholeFile(const std::string& path, std::string& content)
{
    if (!isRegularFile(path))
        return false;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        return false;
    content.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

// Something other than a regular file in the way (a link) is taken away first:
// the whole-file replacement refuses to write through it.
bool writeWholeFile(const std::string& path, const std::string& content)
{
    if (pathExists(path) && !isRegularFile(path) && !fileDelete(path))
        return false;
    return fileReplace(path, content) && isRegularFile(path);
}


}  // namespace

ConfigMachineCalTankLevel::ConfigMachineCalTankLevel(QWidget* parent)
    : QWidget(parent),
      mUsbFile((GreyfellCommon::usbRootPath() + QStringLiteral("/ShapeCal.ini")).toStdString()),
      mConfigFile(tankShapeCalPath()), mStack(nullptr)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalTankLevel"));
    setContentsMargins(0, 0, 0, 0);

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("tankLevelTopPage"));
    mKit = new SettingPageKit(top);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalTankLevel::handleButtonBarPressed);

    mEmptyPage = new ConfigMachineCalTankLevelSensorEmpty(this);
    mMinPage = new ConfigMachineCalTankLevelSensorMin(this);
    mMaxPage = new ConfigMachineCalTankLevelSensorMax(this);
    mShapePage = new ConfigMachineCalTankLevelSensorShape(this);
    for (ConfigMachineCalTankLevelSensorPoint* page :
         {static_cast<ConfigMachineCalTankLevelSensorPoint*>(mEmptyPage),
          static_cast<ConfigMachineCalTankLevelSensorPoint*>(mMinPage),
          static_cast<ConfigMachineCalTankLevelSensorPoint*>(mMaxPage)}) {
        connect(page, &ConfigMachineCalTankLevelSensorPoint::goBack, this, &ConfigMachineCalTankLevel::showTopPage);
        connect(page, &ConfigMachineCalTankLevelSensorPoint::ShowHomeView, this,
                &ConfigMachineCalTankLevel::handleButtonBarPressed);
    }
    connect(mShapePage, &ConfigMachineCalTankLevelSensorShape::goBack, this, &ConfigMachineCalTankLevel::showTopPage);
    connect(mShapePage, &ConfigMachineCalTankLevelSensorShape::ShowHomeView, this,
            &ConfigMachineCalTankLevel::handleButtonBarPressed);

    mStack = new QStackedWidget(this);
    mStack->addWidget(top);
    const int emptyIndex = mStack->addWidget(mEmptyPage);
    const int minIndex = mStack->addWidget(mMinPage);
    const int maxIndex = mStack->addWidget(mMaxPage);
    const int shapeIndex = mStack->addWidget(mShapePage);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);

    mEmptyButton = SettingPageKit::makeMenuButton(emptyIndex, top, "m_emptyTankButton");
    mMinButton = SettingPageKit::makeMenuButton(minIndex, top, "m_minTankLevelButton");
    mMaxButton = SettingPageKit::makeMenuButton(maxIndex, top, "m_maxTankLevelButton");
    mShapeButton = SettingPageKit::makeMenuButton(shapeIndex, top, "m_tankShapeButton");
    for (KestromPushButton* button : {mEmptyButton, mMinButton, mMaxButton, mShapeButton})
        connect(button, &KestromPushButton::takeAction, mStack, &QStackedWidget::setCurrentIndex);
    mExportButton = SettingPageKit::makeMenuButton(0, top, "m_exportButton");
    mExportButton->setSvgIcon(":/images/usb_export.svg", GuiGeometry::iconSize50());
    mImportButton = SettingPageKit::makeMenuButton(0, top, "m_importButton");
    mImportButton->setSvgIcon(":/images/usb_import.svg", GuiGeometry::iconSize50());
    connect(mImportButton, &KestromPushButton::takeAction, this, &ConfigMachineCalTankLevel::importTankCalibration);
    connect(mExportButton, &KestromPushButton::takeAction, this, &ConfigMachineCalTankLevel::exportTankCalibration);
    // Export needs a stick; import also a file of that name on it (a link does not count).
    mKit->addUsbButton(mExportButton);
    mKit->addUsbButton(mImportButton, [this] { return isRegularFile(mUsbFile); });
    connect(mKit->usbWatcher(), &CThumbDriveWatcher::Changed, this, &ConfigMachineCalTankLevel::usbChange);

    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mEmptyButton, 0, 0);
    grid->addWidget(mMinButton, 0, 1);
    grid->addWidget(mMaxButton, 1, 0);
    grid->addWidget(mShapeButton, 1, 1);
    grid->addWidget(mImportButton, 2, 0);
    grid->addWidget(mExportButton, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);
    retranslate();
}

void ConfigMachineCalTankLevel::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ConfigMachineCalTankLevel::showNextPage()
{
}

void ConfigMachineCalTankLevel::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home) {
        showTopPage();
        emit ShowHomeView(ToolsViewButtonBar::Home);
    } else if (id == ToolsViewButtonBar::Back) {
        emit goBack();
    }
}

void ConfigMachineCalTankLevel::usbChange(bool present)
{
    mKit->applyUsbState(present);
}

void ConfigMachineCalTankLevel::importTankCalibration()
{
    CPopupQuery* query = CPopupQuery::askYesNo(
        tr("Import of tank sensor calibration data.\nAll tank sensor calibration data will be replaced. This will "
           "require new Empty, Minimum and Maximum calibration. Do you want to proceed?",
           "definition"),
        1, 0);
    connect(query, &CPopupQuery::ResponseReceived, this, &ConfigMachineCalTankLevel::ImportResponseYesNoClicked);
}

void ConfigMachineCalTankLevel::ImportResponseYesNoClicked(CPopupQuery*, int answer)
{
    if (answer != 1)
        return;
    const bool ok = importFromStick();
    SettingPageKit::showResult(tr("Import Tank Sensor Calibration", "definition header"),
                               ok ? tr("Imported Tank Sensor Calibration successfully.", "definition")
                                  : tr("Error occurred while importing Tank Sensor Calibration.", "definition"));
    mKit->refreshUsbButtons();
}

bool ConfigMachineCalTankLevel::importFromStick()
{
    // The console's own file is kept aside: whatever goes wrong, it is put back.
    std::string previous;
    const bool hadPrevious = pathExists(mConfigFile);
    if (hadPrevious && !readWholeFile(mConfigFile, previous))
        return false;
    std::string imported;
    const bool copied = readWholeFile(mUsbFile, imported) && writeWholeFile(mConfigFile, imported);
    // The core deletes a file it refuses and keeps its items.
    if (copied && isRegularFile(mConfigFile) && tankShapeCalLoad(TANK_SHAPE_FILE_PARSE) != 0)
        return true;
    if (hadPrevious)
        writeWholeFile(mConfigFile, previous);
    else if (pathExists(mConfigFile))
        fileDelete(mConfigFile);
    return false;
}

void ConfigMachineCalTankLevel::exportTankCalibration()
{
    if (!isRegularFile(mUsbFile)) {
        ExportResponseYesNoClicked(nullptr, 1);
        return;
    }
    CPopupQuery* query = CPopupQuery::askYesNo(
        tr("Export of tank sensor calibration data.\nAn existing calibration file already exists on the USB drive "
           "and will be overwritten. Do you want to proceed?",
           "definition"),
        1, 0);
    connect(query, &CPopupQuery::ResponseReceived, this, &ConfigMachineCalTankLevel::ExportResponseYesNoClicked);
}

void ConfigMachineCalTankLevel::ExportResponseYesNoClicked(CPopupQuery*, int answer)
{
    if (answer != 1)
        return;
    const bool ok = exportToStick();
    SettingPageKit::showResult(tr("Export Tank Sensor Calibration", "definition header"),
                               ok ? tr("Exported Tank Sensor Calibration successfully.", "definition")
                                  : tr("Error occurred while exporting Tank Sensor Calibration.", "definition"));
    // The watcher sees the stick's directory come and go, not files written into it.
    mKit->refreshUsbButtons();
}

bool ConfigMachineCalTankLevel::exportToStick()
{
    // The console's file anew from the calibration in use.
    tankShapeCalLoad(TANK_SHAPE_FILE_REWRITE);
    std::string content;
    return mKit->usbPresent() && readWholeFile(mConfigFile, content) && writeWholeFile(mUsbFile, content);
}

void ConfigMachineCalTankLevel::retranslate()
{
    mKit->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2").arg(tr("Calibrations", "pathway text"),
                                                                         tr("Tank Level Sensor", "pathway text")));
    mEmptyButton->setText(tr("Empty Tank", "button"));
    mMinButton->setText(tr("Minimum Tank Level", "button"));
    mMaxButton->setText(tr("Maximum Tank Level", "button"));
    mShapeButton->setText(tr("Tank Shape", "button"));
}

void ConfigMachineCalTankLevel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
