#include "toolsviewconsoleabout.h"

#include "clock.h"
#include "cpopupmessage.h"
#include "greyfellcommon.h"
#include "guigeometry.h"
#include "hwrevision.h"
#include "kestrompushbutton.h"
#include "settingpagekit.h"
#include "version.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

const char* const kProductLine = "Quorin 5520 ";
const char* const kLineEnd = "\r\n";

}  // namespace

VersionEntry::VersionEntry(const QByteArray& name, const QByteArray& secondName)
    : mName(name), mSecondName(secondName)
{
}

void VersionEntry::setNames(const QByteArray& name, const QByteArray& secondName)
{
    mName = name;
    mSecondName = secondName;
}

void VersionEntry::setValues(const QByteArray& value, const QByteArray& suffix)
{
    mValue = value;
    mValueSuffix = suffix;
    mValid = true;
}

void VersionEntry::clearValues()
{
    mValid = false;
    mValue.clear();
    mValueSuffix.clear();
}

ToolsViewConsoleAbout::ToolsViewConsoleAbout(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewConsoleAbout"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ToolsViewConsoleAbout::handleButtonBarPressed);

    mVersionLabel = new QLabel(this);
    mVersionLabel->setObjectName(QStringLiteral("m_versionLabel"));
    mSaveButton = new KestromPushButton(this);
    mSaveButton->setObjectName(QStringLiteral("m_btnSave"));
    mSaveButton->setMinimumSize(GuiGeometry::settingButtonSize());
    connect(mSaveButton, &KestromPushButton::takeAction, this, &ToolsViewConsoleAbout::saveInfo);
    // Enabled exactly while a stick is present, following insertion and removal.
    mKit->addUsbButton(mSaveButton);

    auto* saveRow = new QHBoxLayout;
    saveRow->addStretch(1);
    saveRow->addWidget(mSaveButton);
    saveRow->addStretch(1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addWidget(mVersionLabel);
    mKit->column()->addLayout(saveRow);
    mKit->column()->addStretch(10);
    retranslate();
}

QString ToolsViewConsoleAbout::versionText()
{
    const SuiteVersions& build = SuiteVersions::build();
    const QString software =
        build.isTaggedBuild()
            ? tr("Software version: ", " ") + QString::fromStdString(build.versionText())
            : tr("Software development version:");
    uint32_t revision = 0;
    const QString hardware = hwRevisionDetect(&revision, nullptr)
                                 ? tr("Hardware ID: %1", "%1 is the ID number").arg(revision)
                                 : tr("Hardware ID: Unknown", " ");
    return QString::fromLatin1(kProductLine) + QString::fromLatin1(kLineEnd) + software +
           QString::fromLatin1(kLineEnd) + hardware;
}

QString ToolsViewConsoleAbout::versionEntryText(const VersionEntry& entry)
{
    if (!entry.valid())
        return QString();
    return tr("%1: v%2%3", "This string is used to display software version information, the 'v' stands for version")
        .arg(QString::fromLatin1(entry.name()), QString::fromLatin1(entry.value()),
             QString::fromLatin1(entry.valueSuffix()));
}

void ToolsViewConsoleAbout::retranslate()
{
    mKit->setPathway({tr("Console", "pathway text"), tr("About", "pathway text")});
    mSaveButton->setText(tr("Save", "button"));
}

void ToolsViewConsoleAbout::saveInfo()
{
    const QString path = GreyfellCommon::uniqueUsbFileName("about", ".txt");
    // The console's own clock stamps the file, as it stamps jobs and logs.
    const QString stamp = QDateTime(rtcGetQDate(), rtcGetQTime()).toString(Qt::ISODate);
    const QByteArray content = (versionText() + QString::fromLatin1(kLineEnd) + stamp).toLatin1();
    QFile file(path);
    bool saved = file.open(QIODevice::WriteOnly);
    if (saved) {
        // Reported saved only when every byte reached the stick: a full or
        // pulled stick is a failure, not a success.
        saved = file.write(content) == content.size();
        saved = file.flush() && saved;
        file.close();
        saved = saved && file.error() == QFileDevice::NoError;
    }
    if (saved)
        CPopupMessage::showInformationMessage(tr("Saved version information to USB drive."), 9, 3, 21, 0);
    else
        CPopupMessage::showError(tr("Failed to save version information."), 9, 3, 21, 0);
}

void ToolsViewConsoleAbout::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home)
        emit ShowHomeView(ToolsViewButtonBar::Home);
    else
        emit goBack();
}

void ToolsViewConsoleAbout::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    retranslate();
    // The file's line ends; on the screen plain line breaks.
    mVersionLabel->setText(versionText().replace(QLatin1String(kLineEnd), QLatin1String("\n")));
    mVersionLabel->setMinimumHeight(mVersionLabel->sizeHint().height() + 4);
}

void ToolsViewConsoleAbout::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
