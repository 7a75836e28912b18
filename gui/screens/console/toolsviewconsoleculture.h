#pragma once
// The console's culture page: the language of the user interface, the unit
// system (metric, imperial, US and, on consoles that offer it, US turf), and
// the date and time of the console's clock. A live page: the date and time
// buttons follow the clock while it is shown.
#include "widgettimedfocusupdateqt.h"

#include <QString>

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;
class QHBoxLayout;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ToolsViewConsoleCulture : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ToolsViewConsoleCulture(QWidget* parent = nullptr);

    // The unit choices: the unit system, and US with the turf flag.
    enum UnitSelection { Metric = 0, Imperial = 1, Us = 2, UsTurf = 3 };
    // The clock keeps the year as an offset from 1998 (up to 2037 here).
    enum { FirstYear = 1998, LastYear = 2037 };

    void timedUpdate() override;
    // "[month]/[day]/[year]" and the like, as the Date help shows it.
    QString dateFormatText() const { return mDateFormatText; }

signals:
    void goBack();
    void nextPage();
    void ShowHomeView(int id);

public slots:
    void editLanguage();
    void commitLanguage(int index);
    void editDay();
    void commitDay(double value);
    void editMonth();
    void commitMonth(double value);
    void editYear();
    void commitYear(double value);
    void editHours();
    void commitHours(double value);
    void editMinutes();
    void commitMinutes(double value);
    void resetSeconds();
    void editUnit();
    void commitUnit(int selection);
    void showHelp(int which);
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void updateLanguage();
    void updateDateOrder();
    void updateDate();
    void updateTime();
    void updateUnit();
    static int currentUnitSelection();
    QString unitText(int selection, bool small) const;
    KestromPushButton* addClockButton(const char* objectName);
    QLabel* addSeparator(const QString& text);
    void openClockKeypad(double value, double minimum, double maximum, const QString& units, const QString& title,
                         void (ToolsViewConsoleCulture::*commit)(double));

    SettingPageKit* mKit;
    KestromPushButton* mLanguageLabel;
    KestromPushButton* mLanguageValue;
    KestromPushButton* mUnitLabel;
    KestromPushButton* mUnitValue;
    KestromPushButton* mDateLabel;
    KestromPushButton* mTimeLabel;
    KestromPushButton* mDay;
    KestromPushButton* mMonth;
    KestromPushButton* mYear;
    QLabel* mDateSeparator1;
    QLabel* mDateSeparator2;
    QHBoxLayout* mDateRow;
    KestromPushButton* mHours;
    KestromPushButton* mMinutes;
    KestromPushButton* mSeconds;
    ButtonGridWidget* mLanguageGrid;
    ButtonGridWidget* mUnitGrid;
    KestromPushButton* mUnitChoices[4] = {};
    NumericKeypadWidget* mKeypad;

    int mShownLanguage = -1;
    int mShownSecond = -1;
    QString mShownDate;
    QString mDayWord;
    QString mMonthWord;
    QString mYearWord;
    QString mDateFormatText;
};

}  // namespace ToolsViewWidgets
