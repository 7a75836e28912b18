#include "toolsviewconsoleculture.h"

#include "clock.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "languagemanager.h"
#include "nozinfo.h"
#include "settingpagekit.h"
#include "toolsviewconsoledisplay.h"
#include "units.h"

#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QTime>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

using KSNLanguageManager::LanguageManager;

enum Row { LanguageRow = 0, UnitRow = 1, DateRow = 2, TimeRow = 3 };

const char* const kUnitIcon = ":/images/units.svg";
const char* const kDateIcon = ":/images/date.svg";
const char* const kTimeIcon = ":/images/time.svg";

// Grid choices as wide as a large icon and low enough that the grid shows two
// rows of them: all four unit systems on one page.
QSize choiceSize()
{
    return GuiGeometry::scaledSize(90, 80);
}

// The character of fmt behind position, empty behind its end.
QString separatorBehind(const QString& fmt, int position)
{
    return position >= 0 && position + 1 < fmt.size() ? QString(fmt.at(position + 1)) : QString();
}

}  // namespace

ToolsViewConsoleCulture::ToolsViewConsoleCulture(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    consoleScreensInitResources();
    setObjectName(QStringLiteral("ToolsViewConsoleCulture"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ToolsViewConsoleCulture::handleButtonBarPressed);

    LanguageManager& languages = LanguageManager::instance();
    mLanguageLabel = mKit->addLabelButton(LanguageRow, this, &ToolsViewConsoleCulture::showHelp);
    mLanguageLabel->setIcon(QIcon());
    mLanguageValue = mKit->addValueButton(LanguageRow, "m_btnLanguage");
    connect(mLanguageValue, &KestromPushButton::takeAction, this, &ToolsViewConsoleCulture::editLanguage);
    mLanguageGrid = mKit->addGrid();
    mLanguageGrid->setObjectName(QStringLiteral("m_languageGrid"));
    for (int index = 0; index < languages.languageCount(); ++index) {
        const QString text = languages.languageText(index);
        KestromPushButton* option =
            mKit->addOption(mLanguageGrid, index, text.isEmpty() ? QStringLiteral("en-US") : text);
        option->setMinimumSize(choiceSize());
    }
    mKit->layOutOptions(mLanguageGrid);

    mUnitLabel = mKit->addLabelButton(UnitRow, this, &ToolsViewConsoleCulture::showHelp, kUnitIcon);
    mUnitValue = mKit->addValueButton(UnitRow, "m_btnUnits");
    connect(mUnitValue, &KestromPushButton::takeAction, this, &ToolsViewConsoleCulture::editUnit);
    updateUnit();
    mUnitGrid = mKit->addGrid();
    mUnitGrid->setObjectName(QStringLiteral("m_unitGrid"));
    // Turf units only on the hardware variant that offers them.
    const int unitChoices = datastoreGetBool(DS_PART_NUMBER_FLAG) ? 4 : 3;
    for (int selection = Metric; selection < unitChoices; ++selection) {
        mUnitChoices[selection] = mKit->addOption(mUnitGrid, selection);
        mUnitChoices[selection]->setMinimumSize(choiceSize());
    }
    mKit->layOutOptions(mUnitGrid);

    mDateLabel = mKit->addLabelButton(DateRow, this, &ToolsViewConsoleCulture::showHelp, kDateIcon);
    auto* dateFields = new QWidget(this);
    mDateRow = new QHBoxLayout(dateFields);
    mDateRow->setContentsMargins(0, 0, 0, 0);
    mDateRow->setSpacing(GuiGeometry::spacing2());
    mDay = addClockButton("m_btnDay");
    mMonth = addClockButton("m_btnMonth");
    mYear = addClockButton("m_btnYear");
    mDateSeparator1 = addSeparator(QStringLiteral("."));
    mDateSeparator2 = addSeparator(QStringLiteral("."));
    mKit->addRowWidget(DateRow, dateFields);
    connect(mDay, &KestromPushButton::takeAction, this, &ToolsViewConsoleCulture::editDay);
    connect(mMonth, &KestromPushButton::takeAction, this, &ToolsViewConsoleCulture::editMonth);
    connect(mYear, &KestromPushButton::takeAction, this, &ToolsViewConsoleCulture::editYear);
    updateDate();

    mTimeLabel = mKit->addLabelButton(TimeRow, this, &ToolsViewConsoleCulture::showHelp, kTimeIcon);
    auto* timeFields = new QWidget(this);
    auto* timeRow = new QHBoxLayout(timeFields);
    timeRow->setContentsMargins(0, 0, 0, 0);
    timeRow->setSpacing(GuiGeometry::spacing2());
    mHours = addClockButton("m_btnHours");
    mMinutes = addClockButton("m_btnMinutes");
    mSeconds = addClockButton("m_btnSeconds");
    timeRow->addWidget(mHours);
    timeRow->addWidget(addSeparator(QStringLiteral(":")));
    timeRow->addWidget(mMinutes);
    timeRow->addWidget(addSeparator(QStringLiteral(":")));
    timeRow->addWidget(mSeconds);
    mKit->addRowWidget(TimeRow, timeFields);
    connect(mHours, &KestromPushButton::takeAction, this, &ToolsViewConsoleCulture::editHours);
    connect(mMinutes, &KestromPushButton::takeAction, this, &ToolsViewConsoleCulture::editMinutes);
    connect(mSeconds, &KestromPushButton::takeAction, this, &ToolsViewConsoleCulture::resetSeconds);
    mKeypad = mKit->addKeypad();

    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);
    updateLanguage();
    retranslate();
}

KestromPushButton* ToolsViewConsoleCulture::addClockButton(const char* objectName)
{
    auto* button = new KestromPushButton(this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setProperty("hasBorder", true);
    button->setMinimumSize(GuiGeometry::iconSize50());
    return button;
}

QLabel* ToolsViewConsoleCulture::addSeparator(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setProperty("transparent", true);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void ToolsViewConsoleCulture::retranslate()
{
    mKit->setPathway({tr("Console", "pathway text"), tr("Cultural", "pathway text")});
    mLanguageLabel->setText(tr("Language", "setting label"));
    mUnitLabel->setText(tr("Units", "setting label"));
    mDateLabel->setText(tr("Date", "setting label"));
    mTimeLabel->setText(tr("Time", "setting label"));
    mDayWord = tr("day", "this will be a part of the help text for date");
    mMonthWord = tr("month", "this will be a part of the help text for date");
    mYearWord = tr("year", "this will be a part of the help text for date");
    for (int selection = Metric; selection <= UsTurf; ++selection)
        if (mUnitChoices[selection] != nullptr)
            mUnitChoices[selection]->setText(unitText(selection, true));
    // The date-format text always carries the words of the language in force.
    updateDateOrder();
    updateLanguage();
    updateUnit();
}

void ToolsViewConsoleCulture::updateLanguage()
{
    LanguageManager& languages = LanguageManager::instance();
    if (languages.currentLanguage() == mShownLanguage)
        return;
    mShownLanguage = languages.currentLanguage();
    mLanguageValue->setText(languages.currentLanguageName());
    updateDateOrder();
}

void ToolsViewConsoleCulture::updateDateOrder()
{
    const QString fmt = QLocale().dateFormat(QLocale::ShortFormat);
    const int dFirst = fmt.indexOf('d');
    const int dLast = fmt.lastIndexOf('d');
    const int mFirst = fmt.indexOf('M');
    const int mLast = fmt.lastIndexOf('M');
    const int yFirst = fmt.indexOf('y');
    const int yLast = fmt.lastIndexOf('y');

    for (QWidget* field : {static_cast<QWidget*>(mDay), static_cast<QWidget*>(mDateSeparator1),
                           static_cast<QWidget*>(mMonth), static_cast<QWidget*>(mDateSeparator2),
                           static_cast<QWidget*>(mYear)})
        mDateRow->removeWidget(field);

    KestromPushButton* fields[3];
    QString words[3];
    QString first;
    QString second;
    if (dFirst < yFirst && dFirst < mFirst) {
        fields[0] = mDay, fields[1] = mMonth, fields[2] = mYear;
        words[0] = mDayWord, words[1] = mMonthWord, words[2] = mYearWord;
        first = separatorBehind(fmt, dLast);
        second = separatorBehind(fmt, mLast);
    } else if (mFirst < yFirst && dFirst > mFirst) {
        fields[0] = mMonth, fields[1] = mDay, fields[2] = mYear;
        words[0] = mMonthWord, words[1] = mDayWord, words[2] = mYearWord;
        first = separatorBehind(fmt, mLast);
        second = separatorBehind(fmt, dLast);
    } else {
        fields[0] = mYear, fields[1] = mMonth, fields[2] = mDay;
        words[0] = mYearWord, words[1] = mMonthWord, words[2] = mDayWord;
        first = separatorBehind(fmt, yLast);
        second = separatorBehind(fmt, mLast);
    }
    mDateRow->addWidget(fields[0]);
    mDateRow->addWidget(mDateSeparator1);
    mDateRow->addWidget(fields[1]);
    mDateRow->addWidget(mDateSeparator2);
    mDateRow->addWidget(fields[2]);
    mDateSeparator1->setText(first);
    mDateSeparator2->setText(second);
    mDateFormatText = QStringLiteral("[%1]%2[%3]%4[%5]").arg(words[0], first, words[1], second, words[2]);
}

void ToolsViewConsoleCulture::timedUpdate()
{
    updateTime();
    updateDate();
}

void ToolsViewConsoleCulture::updateTime()
{
    const QTime now = rtcGetQTime();
    if (now.second() == mShownSecond)
        return;
    mShownSecond = now.second();
    mHours->setText(now.toString(QStringLiteral("hh")));
    mMinutes->setText(now.toString(QStringLiteral("mm")));
    mSeconds->setText(now.toString(QStringLiteral("ss")) + QStringLiteral("  "));
}

void ToolsViewConsoleCulture::updateDate()
{
    const QDate today = rtcGetQDate();
    const QString text = today.toString(Qt::TextDate);
    if (text == mShownDate)
        return;
    mShownDate = text;
    mDay->setText(today.toString(QStringLiteral("dd")));
    mMonth->setText(today.toString(QStringLiteral("MM")));
    mYear->setText(today.toString(QStringLiteral("yyyy")));
}

int ToolsViewConsoleCulture::currentUnitSelection()
{
    const int system = static_cast<int>(unitGetSystem());
    return system == Us && datastoreGetBool(DS_TURF_UNITS) ? UsTurf : system;
}

QString ToolsViewConsoleCulture::unitText(int selection, bool small) const
{
    switch (selection) {
    case Metric:
        return small ? tr("Metric", "Units small button") : tr("Metric", "Units button");
    case Imperial:
        return small ? tr("Imperial", "Units small button") : tr("Imperial", "Units button");
    case Us:
        return small ? tr("US", "Units small button") : tr("US", "Units button");
    case UsTurf:
        return small ? tr("US\nTurf", "Units small button") : tr("US Turf", "Units button");
    default:
        return QString();
    }
}

void ToolsViewConsoleCulture::updateUnit()
{
    mUnitValue->setText(unitText(currentUnitSelection(), false));
}

void ToolsViewConsoleCulture::editLanguage()
{
    mKit->openGrid(mLanguageGrid, LanguageManager::instance().currentLanguage(), this,
                   &ToolsViewConsoleCulture::commitLanguage);
}

void ToolsViewConsoleCulture::commitLanguage(int index)
{
    LanguageManager::instance().selectLanguage(index);
    updateLanguage();
}

void ToolsViewConsoleCulture::editUnit()
{
    mKit->openGrid(mUnitGrid, currentUnitSelection(), this, &ToolsViewConsoleCulture::commitUnit);
}

void ToolsViewConsoleCulture::commitUnit(int selection)
{
    if (selection == currentUnitSelection())
        return;
    switch (selection) {
    case UsTurf:
        datastoreSetBool(DS_TURF_UNITS, 1);
        unitSetSystem(UNIT_SYSTEM_US);
        datastoreSetUint16(DS_UNIT_SYSTEM, UNIT_SYSTEM_US);
        datastoreSetBool(DS_METRIC_UNITS, 0);
        nozinfoSetReferenceMode(1);
        break;
    case Metric:
        datastoreSetBool(DS_TURF_UNITS, 0);
        unitSetSystem(UNIT_SYSTEM_METRIC);
        datastoreSetUint16(DS_UNIT_SYSTEM, UNIT_SYSTEM_METRIC);
        datastoreSetBool(DS_METRIC_UNITS, 1);
        nozinfoSetReferenceMode(0);
        break;
    case Imperial:
    case Us:
        datastoreSetBool(DS_TURF_UNITS, 0);
        unitSetSystem(static_cast<uint32_t>(selection));
        datastoreSetUint16(DS_UNIT_SYSTEM, static_cast<uint16_t>(selection));
        datastoreSetBool(DS_METRIC_UNITS, 0);
        nozinfoSetReferenceMode(1);
        break;
    default:
        break;
    }
    updateUnit();
}

void ToolsViewConsoleCulture::openClockKeypad(double value, double minimum, double maximum, const QString& units,
                                              const QString& title, void (ToolsViewConsoleCulture::*commit)(double))
{
    KeypadSetting setting;
    setting.value = value;
    setting.minimum = minimum;
    setting.maximum = maximum;
    setting.decimals = 1;
    setting.units = units;
    setting.title = title;
    mKit->openKeypad(mKeypad, setting, this, commit);
}

void ToolsViewConsoleCulture::editDay()
{
    const QDate today = rtcGetQDate();
    openClockKeypad(today.day(), 1, today.daysInMonth(), QString(), tr("Date Setup - Day", "keyboard header"),
                    &ToolsViewConsoleCulture::commitDay);
}

void ToolsViewConsoleCulture::commitDay(double value)
{
    const QDate today = rtcGetQDate();
    const QDate date(today.year(), today.month(), static_cast<int>(value));
    if (date.isValid())
        rtcSetQDate(date);
}

void ToolsViewConsoleCulture::editMonth()
{
    openClockKeypad(rtcGetQDate().month(), 1, 12, QString(), tr("Date Setup - Month", "keyboard header"),
                    &ToolsViewConsoleCulture::commitMonth);
}

void ToolsViewConsoleCulture::commitMonth(double value)
{
    const QDate today = rtcGetQDate();
    const int month = static_cast<int>(value);
    QDate date(today.year(), month, today.day());
    // 31 January to February: the first of that month.
    if (!date.isValid())
        date = QDate(today.year(), month, 1);
    rtcSetQDate(date);
}

void ToolsViewConsoleCulture::editYear()
{
    openClockKeypad(rtcGetQDate().year(), FirstYear, LastYear, QString(), tr("Date Setup - Year", "keyboard header"),
                    &ToolsViewConsoleCulture::commitYear);
}

void ToolsViewConsoleCulture::commitYear(double value)
{
    const QDate today = rtcGetQDate();
    const int year = static_cast<int>(value);
    QDate date(year, today.month(), today.day());
    // 29 February into a common year: the first of that month.
    if (!date.isValid())
        date = QDate(year, today.month(), 1);
    rtcSetQDate(date);
}

void ToolsViewConsoleCulture::editHours()
{
    openClockKeypad(rtcGetQTime().hour(), 0, 23, tr("Hours"), tr("Time Setup - Hour", "keyboard header"),
                    &ToolsViewConsoleCulture::commitHours);
}

void ToolsViewConsoleCulture::commitHours(double value)
{
    const QTime now = rtcGetQTime();
    rtcSetQTime(QTime(static_cast<int>(value), now.minute(), now.second(), now.msec()));
}

void ToolsViewConsoleCulture::editMinutes()
{
    openClockKeypad(rtcGetQTime().minute(), 0, 59, tr("Minutes"), tr("Time Setup - Minute", "keyboard header"),
                    &ToolsViewConsoleCulture::commitMinutes);
}

void ToolsViewConsoleCulture::commitMinutes(double value)
{
    const QTime now = rtcGetQTime();
    rtcSetQTime(QTime(now.hour(), static_cast<int>(value), now.second(), now.msec()));
}

void ToolsViewConsoleCulture::resetSeconds()
{
    const QTime now = rtcGetQTime();
    rtcSetQTime(QTime(now.hour(), now.minute(), 0, 0));
}

void ToolsViewConsoleCulture::showHelp(int which)
{
    switch (which) {
    case LanguageRow:
        SettingPageKit::showHelp(tr("Language", "definition header"),
                                 tr("Defines the system language.", "Language definition"));
        break;
    case UnitRow:
        SettingPageKit::showHelp(tr("Units", "definition header"),
                                 tr("Defines the system units (US, Imperial or Metric).", "Units definition"));
        break;
    case DateRow:
        SettingPageKit::showHelp(
            tr("Date", "definition header"),
            tr("Defines the current date.\nThe date format is\n%1",
               "Date definition. %1 is the date format generated based on the selected language. Example English - "
               "US would be [month]/[day]/[year].")
                .arg(mDateFormatText));
        break;
    case TimeRow:
        SettingPageKit::showHelp(tr("Time", "definition header"),
                                 tr("Defines the current time.\nThe time format is\n[24 hour]:[minutes]:[seconds].",
                                    "Time definition"));
        break;
    default:
        break;
    }
}

void ToolsViewConsoleCulture::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ToolsViewConsoleCulture::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
