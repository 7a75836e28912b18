#include "configoem.h"

#include "cdebug.h"
#include "cfgdt_if.h"
#include "cmdrunner.h"
#include "configoemdeletetotals.h"
#include "configoemimplparam.h"
#include "configoemimplparam2.h"
#include "configoemregulationdetails.h"
#include "configoemregulationdetails2.h"
#include "configoemregulationdetails3.h"
#include "configoemsensorpresence.h"
#include "configoemtanksetup.h"
#include "configoemvalvesetup.h"
#include "cpopupmessage.h"
#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "filedesc.h"
#include "greyfellcommon.h"
#include "guigeometry.h"
#include "installerresources.h"
#include "processevent.h"
#include "settingpagekit.h"
#include "thumbdrivewatcher.h"
#include "toolsmisc.h"

#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <type_traits>
#include <vector>

#include <sys/stat.h>

namespace ToolsViewWidgets {

namespace {

constexpr uint32_t kMaxCode = 9999999;
constexpr int kSyncCount = 3;

// Ids of the page buttons are the stack indexes of their pages.
const int kButtonPages[] = {ConfigOem::SensorPresencePage, ConfigOem::ImplParamPage, ConfigOem::ValveSetupPage,
                            ConfigOem::TankSetupPage, ConfigOem::RegulationDetailsPage};

// Anything at path, a dangling link included.
bool pathExists(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

// Every item's bytes, to put back what a refused configuration file changed:
// the read-in may have set items before it found the fault.
std::vector<std::vector<uint8_t>> storeSnapshot()
{
    std::vector<std::vector<uint8_t>> items(DS_ITEM_COUNT);
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        // The read-in cannot set read-only items.
        if (dsCatalogue[id].readOnly != 0)
            continue;
        items[id].resize(datastoreGetSize(id));
        if (!items[id].empty() && datastoreGetData(id, items[id].data()) != DS_OK)
            items[id].clear();
    }
    return items;
}

void restoreChangedItems(const std::vector<std::vector<uint8_t>>& items)
{
    std::vector<uint8_t> now;
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        if (items[id].empty())
            continue;
        now.assign(items[id].size(), 0);
        if (datastoreGetData(id, now.data()) == DS_OK && now != items[id])
            datastoreSetData(id, items[id].data());
    }
}

}  // namespace

ConfigOem::ConfigOem(QWidget* parent)
    : QWidget(parent), mStack(new QStackedWidget(this)),
      mStickFile(GreyfellCommon::usbRootPath() + QStringLiteral("/cfgfile.xml")),
      mConsoleFile(QString::fromStdString(cfgdtConfigFilePath()))
{
    installerScreensInitResources();
    setObjectName(QStringLiteral("ConfigOem"));
    QVBoxLayout* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(mStack);

    QWidget* menu = new QWidget;
    menu->setObjectName(QStringLiteral("ConfigOemMenu"));
    mKit = new SettingPageKit(menu);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigOem::handleButtonBarPressed);
    mStack->addWidget(menu);

    auto* sensorPresence = new ConfigOemSensorPresence(this);
    auto* implParam = new ConfigOemImplParam(this);
    auto* implParam2 = new ConfigOemImplParam2(this);
    auto* valveSetup = new ConfigOemValveSetup(this);
    auto* tankSetup = new ConfigOemTankSetup(this);
    auto* regulation1 = new ConfigOemRegulationDetails(this);
    auto* regulation2 = new ConfigOemRegulationDetails2(this);
    auto* regulation3 = new ConfigOemRegulationDetails3(this);
    auto* deleteTotals = new ConfigOemDeleteTotals(this);
    QWidget* pages[] = {sensorPresence, implParam, implParam2, valveSetup, tankSetup,
                        regulation1, regulation2, regulation3, deleteTotals};
    for (QWidget* page : pages)
        mStack->addWidget(page);

    auto connectPage = [this](auto* page) {
        using Page = std::remove_pointer_t<decltype(page)>;
        connect(page, &Page::goBack, this, &ConfigOem::showTopPage);
        connect(page, &Page::ShowHomeView, this, &ConfigOem::handleButtonBarPressed);
    };
    connectPage(sensorPresence);
    connectPage(implParam);
    connectPage(implParam2);
    connectPage(valveSetup);
    connectPage(tankSetup);
    connectPage(regulation1);
    connectPage(regulation2);
    connectPage(regulation3);
    connectPage(deleteTotals);
    connect(implParam, &ConfigOemImplParam::nextPage, this, &ConfigOem::showNextPage);
    connect(implParam2, &ConfigOemImplParam2::nextPage, this, &ConfigOem::showNextPage);
    connect(regulation1, &ConfigOemRegulationDetails::nextPage, this, &ConfigOem::showNextPage);
    connect(regulation2, &ConfigOemRegulationDetails2::nextPage, this, &ConfigOem::showNextPage);
    connect(regulation3, &ConfigOemRegulationDetails3::nextPage, this, &ConfigOem::showNextPage);

    static const char* const kButtonNames[] = {"m_btnSensorPresence", "m_btnImplementParameters", "m_btnValveSetup",
                                               "m_btnTankSetup", "m_btnRegulationDetails"};
    QGridLayout* grid = new QGridLayout;
    grid->setSpacing(GuiGeometry::spacing1());
    for (int i = 0; i < 5; ++i) {
        mPageButtons[i] = new KestromPushButton(kButtonPages[i], menu);
        mPageButtons[i]->setObjectName(QString::fromLatin1(kButtonNames[i]));
        connect(mPageButtons[i], &KestromPushButton::takeAction, mStack, &QStackedWidget::setCurrentIndex);
        grid->addWidget(mPageButtons[i], i / 2, i % 2);
    }
    mClearTotalsButton = new KestromPushButton(DeleteTotalsPage, menu);
    mClearTotalsButton->setObjectName(QStringLiteral("m_btnClearTotals"));
    connect(mClearTotalsButton, &KestromPushButton::takeAction, this, &ConfigOem::editClearTotalPassword);
    grid->addWidget(mClearTotalsButton, 2, 1);
    mImportButton = new KestromPushButton(menu);
    mImportButton->setObjectName(QStringLiteral("m_btnImportConfig"));
    mImportButton->setSvgIcon(":/images/usb_import.svg", GuiGeometry::iconSize50());
    connect(mImportButton, &KestromPushButton::takeAction, this, &ConfigOem::importConfig);
    grid->addWidget(mImportButton, 3, 0);
    mExportButton = new KestromPushButton(menu);
    mExportButton->setObjectName(QStringLiteral("m_btnExportConfig"));
    mExportButton->setSvgIcon(":/images/usb_export.svg", GuiGeometry::iconSize50());
    connect(mExportButton, &KestromPushButton::takeAction, this, &ConfigOem::exportConfig);
    grid->addWidget(mExportButton, 3, 1);
    for (KestromPushButton* button : menu->findChildren<KestromPushButton*>())
        if (button->parentWidget() == menu)
            button->setMinimumSize(GuiGeometry::menuButtonSize());
    mKit->column()->addStretch(1);
    mKit->column()->addLayout(grid);
    mKit->column()->addStretch(10);

    mKeypad = mKit->addKeypad();
    connect(mKeypad, &NumericKeypadWidget::commitValue, this, &ConfigOem::commitPassword);

    mUsbWatcher = new CThumbDriveWatcher(GreyfellCommon::usbRootPath().toStdString());
    mUsbWatcher->setParent(this);
    connect(mUsbWatcher, &CThumbDriveWatcher::Changed, this, &ConfigOem::usbChange);
    usbChange(mUsbWatcher->isPresent());
    retranslate();
}

ConfigOem::~ConfigOem() = default;

void ConfigOem::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text")});
    mPageButtons[0]->setText(tr("Sensor Presence", "button"));
    mPageButtons[1]->setText(tr("Implement Parameters", "button"));
    mPageButtons[2]->setText(tr("Valve Setup", "button"));
    mPageButtons[3]->setText(tr("Tank Setup", "button"));
    mPageButtons[4]->setText(tr("Regulation Details", "button"));
    mClearTotalsButton->setText(tr("Clear Totals", "button"));
}

void ConfigOem::showTopPage()
{
    mStack->setCurrentIndex(MenuPage);
}

void ConfigOem::showNextPage()
{
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "%s", "");
    switch (mStack->currentIndex()) {
    case RegulationDetailsPage:
        mStack->setCurrentIndex(RegulationDetails2Page);
        break;
    case RegulationDetails2Page:
        mStack->setCurrentIndex(RegulationDetails3Page);
        break;
    case RegulationDetails3Page:
        mStack->setCurrentIndex(RegulationDetailsPage);
        break;
    case ImplParamPage:
        mStack->setCurrentIndex(ImplParam2Page);
        break;
    case ImplParam2Page:
        mStack->setCurrentIndex(ImplParamPage);
        break;
    default:
        break;
    }
}

void ConfigOem::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home) {
        showTopPage();
        emit ShowHomeView(ToolsViewButtonBar::Home);
    } else if (id == ToolsViewButtonBar::Back) {
        emit goBack();
    }
}

void ConfigOem::editClearTotalPassword()
{
    KeypadSetting setting;
    setting.value = 0;
    setting.minimum = 0;
    setting.maximum = kMaxCode;
    setting.decimals = 0;
    setting.units = tr("%");
    setting.title = tr("Password", "keyboard header");
    mKit->openKeypad(mKeypad, setting, this, &ConfigOem::commitPassword);
}

void ConfigOem::commitPassword(double value)
{
    // The whole number entered must be the code: 65536 more is another code.
    if (value < 0 || value > kMaxCode)
        return;
    if (static_cast<uint32_t>(value) == datastoreGetUint16(DS_CLEAR_TOTALS_CODE))
        mStack->setCurrentIndex(DeleteTotalsPage);
}

void ConfigOem::usbChange(bool present)
{
    mExportButton->setEnabled(present);
    mImportButton->setEnabled(present && isRegularFile(mStickFile.toStdString()));
}

void ConfigOem::importConfig()
{
    CPopupQuery* query = CPopupQuery::askYesNo(
        tr("Import of Configuration Data.\nThe configuration and calibration data will be replaced. Do you want to "
           "proceed?",
           "definition"),
        1, 0);
    connect(query, &CPopupQuery::ResponseReceived, this, &ConfigOem::ImportResponseYesNoClicked);
}

bool ConfigOem::importStickFile()
{
    const std::string stick = mStickFile.toStdString();
    const std::string console = mConsoleFile.toStdString();
    const std::string incoming = console + ".import";
    if (!isRegularFile(stick))
        return false;
    // The stick's file arrives whole beside the console's before it replaces it.
    std::remove(incoming.c_str());
    if (!fileCopy(incoming, stick, true)) {
        std::remove(incoming.c_str());
        return false;
    }
    QFile previousFile(mConsoleFile);
    const bool hadPrevious = isRegularFile(console);
    QByteArray previous;
    if (hadPrevious) {
        if (!previousFile.open(QIODevice::ReadOnly)) {
            std::remove(incoming.c_str());
            return false;
        }
        previous = previousFile.readAll();
        previousFile.close();
    }
    if (std::rename(incoming.c_str(), console.c_str()) != 0) {
        std::remove(incoming.c_str());
        return false;
    }
    const std::vector<std::vector<uint8_t>> items = storeSnapshot();
    if (ConfigurationReadIn(CFGDT_READ_IMPORT) != 0)
        return true;
    // Refused (and deleted by the read-in): the console keeps its own file and values.
    restoreChangedItems(items);
    if (hadPrevious)
        fileReplace(console, previous.constData(), static_cast<size_t>(previous.size()));
    else
        std::remove(console.c_str());
    return false;
}

void ConfigOem::ImportResponseYesNoClicked(CPopupQuery*, int answer)
{
    if (answer != 1)
        return;
    const bool imported = importStickFile();
    // Only an accepted file changed the configuration the core copies from.
    if (imported)
        processEvent(EV_CONFIG_IMPORTED, 0);
    SettingPageKit::showResult(tr("Import Configuration Data", "definition header"),
                               imported ? tr("Configuration Data was imported successfully.", "definition")
                                        : tr("Error occurred while importing Configuration Data.", "definition"));
}

void ConfigOem::exportConfig()
{
    if (isRegularFile(mStickFile.toStdString())) {
        CPopupQuery* query = CPopupQuery::askYesNo(
            tr("Export of Configuration Data.\nAn existing configuration file already exists on the USB drive and "
               "will be overwritten. Do you want to proceed?",
               "definition"),
            1, 0);
        connect(query, &CPopupQuery::ResponseReceived, this, &ConfigOem::ExportResponseYesNoClicked);
        return;
    }
    ExportResponseYesNoClicked(nullptr, 1);
}

bool ConfigOem::exportToStick()
{
    const std::string stick = mStickFile.toStdString();
    // A link of that name goes; a regular file stays until the new one is whole.
    if (pathExists(stick) && !isRegularFile(stick))
        std::remove(stick.c_str());
    bool written = ConfigurationWrite(stick.c_str()) != 0;
    for (int i = 0; i < kSyncCount; ++i)
        if (cmdRun("sync") == -1)
            written = false;
    return written;
}

void ConfigOem::ExportResponseYesNoClicked(CPopupQuery*, int answer)
{
    if (answer != 1)
        return;
    const bool exported = exportToStick();
    // The watcher sees the stick's directory only: the new file enables import here.
    usbChange(mUsbWatcher->isPresent());
    SettingPageKit::showResult(tr("Export Configuration Data", "definition header"),
                               exported ? tr("Configuration Data was exported successfully.", "definition")
                                        : tr("Error occurred while exporting Configuration Data.", "definition"));
}

void ConfigOem::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
