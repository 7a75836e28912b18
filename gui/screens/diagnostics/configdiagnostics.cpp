#include "configdiagnostics.h"

#include "configdiagnosticstestabsc.h"
#include "configdiagnosticstestinputs.h"
#include "configdiagnosticstestinputs2.h"
#include "configdiagnosticstestinputs3.h"
#include "configdiagnosticstestoutputs.h"
#include "configdiagnosticstestoutputs2.h"
#include "datalogalarms.h"
#include "datalogpressure.h"
#include "diagnosticsresources.h"
#include "eventids.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <type_traits>

namespace ToolsViewWidgets {

namespace {

KestromPushButton* makePageButton(int id, QWidget* parent, const char* objectName)
{
    KestromPushButton* button = new KestromPushButton(id, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setMinimumSize(GuiGeometry::menuButtonSize());
    return button;
}

KestromPushButton* makeSaveButton(QWidget* parent, const char* objectName, const char* icon)
{
    KestromPushButton* button = new KestromPushButton(parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setMinimumSize(GuiGeometry::settingButtonSize());
    button->setSvgIcon(icon, GuiGeometry::iconSize50());
    return button;
}

}  // namespace

ConfigDiagnostics::ConfigDiagnostics(QWidget* parent) : QWidget(parent), mStack(new QStackedWidget(this))
{
    diagnosticsScreensInitResources();
    setObjectName(QStringLiteral("ConfigDiagnostics"));
    setContentsMargins(0, 0, 0, 0);

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("diagnosticsTopPage"));
    mKit = new SettingPageKit(top);
    mKit->buttonBar()->setButtonsVisible(true, false, true);

    mInputs = new ConfigDiagnosticsTestInputs(this);
    mInputs2 = new ConfigDiagnosticsTestInputs2(this);
    mInputs3 = new ConfigDiagnosticsTestInputs3(this);
    mOutputs = new ConfigDiagnosticsTestOutputs(this);
    mOutputs2 = new ConfigDiagnosticsTestOutputs2(this);
    mSectrix = new ConfigDiagnosticsTestAbsc(this);
    mAlarmLog = new DataLogAlarms(this);
    mPressureLog = new DataLogPressure(this);

    const auto connectTestPage = [this](auto* page) {
        connect(page, &std::remove_pointer_t<decltype(page)>::goBack, this, &ConfigDiagnostics::showTopPage);
        connect(page, &std::remove_pointer_t<decltype(page)>::ShowHomeView, this,
                &ConfigDiagnostics::handleButtonBarPressed);
    };
    connectTestPage(mInputs);
    connectTestPage(mInputs2);
    connectTestPage(mInputs3);
    connectTestPage(mOutputs);
    connectTestPage(mOutputs2);
    connectTestPage(mSectrix);
    connect(mInputs, &ConfigDiagnosticsTestInputs::nextPage, this, &ConfigDiagnostics::showNextPage);
    connect(mInputs2, &ConfigDiagnosticsTestInputs2::nextPage, this, &ConfigDiagnostics::showNextPage);
    connect(mInputs3, &ConfigDiagnosticsTestInputs3::nextPage, this, &ConfigDiagnostics::showNextPage);
    connect(mOutputs, &ConfigDiagnosticsTestOutputs::nextPage, this, &ConfigDiagnostics::showNextPage);
    connect(mOutputs2, &ConfigDiagnosticsTestOutputs2::nextPage, this, &ConfigDiagnostics::showNextPage);
    connectTestPage(mAlarmLog);
    connectTestPage(mPressureLog);

    mStack->addWidget(top);
    mInputsIndex = mStack->addWidget(mInputs);
    mInputs2Index = mStack->addWidget(mInputs2);
    mInputs3Index = mStack->addWidget(mInputs3);
    mOutputsIndex = mStack->addWidget(mOutputs);
    mOutputs2Index = mStack->addWidget(mOutputs2);
    mSectrixIndex = mStack->addWidget(mSectrix);
    mAlarmLogIndex = mStack->addWidget(mAlarmLog);
    mPressureLogIndex = mStack->addWidget(mPressureLog);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);

    mTestInputsButton = makePageButton(mInputsIndex, top, "m_testInputsButton");
    mTestOutputsButton = makePageButton(mOutputsIndex, top, "m_testOutputsButton");
    mTestSectrixButton = makePageButton(mSectrixIndex, top, "m_testSectrixButton");
    mPressureLogButton = makePageButton(mPressureLogIndex, top, "m_pressureLogButton");
    mAlarmLogButton = makePageButton(mAlarmLogIndex, top, "m_alarmLogButton");
    for (KestromPushButton* button :
         {mTestInputsButton, mTestOutputsButton, mTestSectrixButton, mPressureLogButton, mAlarmLogButton})
        connect(button, &KestromPushButton::takeAction, mStack, &QStackedWidget::setCurrentIndex);

    mSavePressureLogButton = makeSaveButton(top, "m_savePressureLogButton", ":/images/save_pdf.svg");
    mSaveAlarmLogButton = makeSaveButton(top, "m_saveAlarmLogButton", ":/images/save_log.svg");
    mKit->addUsbButton(mSavePressureLogButton);
    mKit->addUsbButton(mSaveAlarmLogButton);
    connect(mSaveAlarmLogButton, &KestromPushButton::takeAction, this, &ConfigDiagnostics::saveLogData);
    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::eventLogDataExported, this,
            &ConfigDiagnostics::logDataSaved);
    connect(mSavePressureLogButton, &KestromPushButton::takeAction, this, &ConfigDiagnostics::savePressLogData);
    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::eventPressureLogExported, this,
            &ConfigDiagnostics::pressLogDataSaved);

    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mTestInputsButton, 0, 0);
    grid->addWidget(mTestOutputsButton, 0, 1);
    grid->addWidget(mTestSectrixButton, 1, 0);
    grid->addWidget(mPressureLogButton, 1, 1);
    grid->addWidget(mAlarmLogButton, 2, 0);
    grid->addWidget(mSavePressureLogButton, 2, 1);
    grid->addWidget(mSaveAlarmLogButton, 3, 0);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(8);
    mKit->connectButtonBar(this, &ConfigDiagnostics::handleButtonBarPressed);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);
    retranslate();
}

ConfigDiagnostics::~ConfigDiagnostics() = default;

void ConfigDiagnostics::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Diagnostics", "pathway text")});
    mTestInputsButton->setText(tr("Test Inputs", "button"));
    mTestOutputsButton->setText(tr("Test Outputs", "button"));
    mTestSectrixButton->setText(tr("Test Sectrix", "button"));
    mPressureLogButton->setText(tr("Pressure Log", "button"));
    mAlarmLogButton->setText(tr("Alarm Log", "button"));
}

void ConfigDiagnostics::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ConfigDiagnostics::showNextPage()
{
    const int current = mStack->currentIndex();
    if (current == mInputsIndex)
        mStack->setCurrentIndex(mInputs2Index);
    else if (current == mInputs2Index)
        mStack->setCurrentIndex(mInputs3Index);
    else if (current == mInputs3Index)
        mStack->setCurrentIndex(mInputsIndex);
    else if (current == mOutputsIndex)
        mStack->setCurrentIndex(mOutputs2Index);
    else if (current == mOutputs2Index)
        mStack->setCurrentIndex(mOutputsIndex);
}

void ConfigDiagnostics::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home) {
        showTopPage();
        emit ShowHomeView(ToolsViewButtonBar::Home);
    } else if (id == ToolsViewButtonBar::Back) {
        emit goBack();
    }
}

void ConfigDiagnostics::saveLogData()
{
    mAlarmLogSavePending = true;
    eventPost(EV_OWNER_PERIODIC, EV_EXPORT_ALARM_LOG, 0);
}

void ConfigDiagnostics::logDataSaved(bool ok)
{
    // A save started elsewhere is not this menu's to report.
    if (!mAlarmLogSavePending)
        return;
    if (ok)
        SettingPageKit::showResult(tr("Log Data Saved", "definition header"),
                                   tr("The log data has been saved on the USB drive.", "Log data Saved definition"));
    else
        SettingPageKit::showResult(tr("Log Data Not Saved", "definition header"),
                                   tr("An error occurred while saving the log data.", "Log Data Not Saved definition"));
    mAlarmLogSavePending = false;
}

void ConfigDiagnostics::savePressLogData()
{
    mPressureLogSavePending = true;
    eventPost(EV_OWNER_PERIODIC, EV_EXPORT_PRESSURE_LOG, 0);
}

void ConfigDiagnostics::pressLogDataSaved(bool ok)
{
    if (!mPressureLogSavePending)
        return;
    if (ok)
        SettingPageKit::showResult(tr("Pressure Log Data Saved", "definition header"),
                                   tr("The pressure log data has been saved on the USB drive.",
                                      "Log data Saved definition"));
    else
        SettingPageKit::showResult(tr("Pressure Log Data Not Saved", "definition header"),
                                   tr("An error occurred while saving the pressure log data.",
                                      "Log Data Not Saved definition"));
    mPressureLogSavePending = false;
}

void ConfigDiagnostics::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
