#pragma once
// Filling page 1: the actual tank content set by hand or reloaded to the full
// tank, and the density type and factor of the product. Built twice: in the
// machine settings menu (menu instance, home shown) and as the working
// screen's own filling page (home hidden). "Next" leads to the automatic
// filling page and is offered only with a tank or fill-flow sensor.
#include "widgettimedfocusupdateqt.h"

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ToolsViewConfigFilling : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    ToolsViewConfigFilling(QWidget* parent, bool menuInstance);
    ~ToolsViewConfigFilling() override;

    SettingPageKit* kit() const { return mKit; }
    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editTankContent();
    void commitTankContent(double value);
    void reloadFullTankValue();
    void editDensityType();
    void commitDensityType(int choice);
    void editDensityFactor();
    void commitDensityFactor(double value);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The content unit's short ("l", "gal") or long name of the unit system in force.
    QString contentUnit(bool longName) const;
    void refreshTankContent();
    void refreshDensityType();
    void refreshDensityFactor();

    const bool mMenuInstance;
    SettingPageKit* mKit;
    KestromPushButton* mContentLabel;
    KestromPushButton* mFullTankLabel;
    KestromPushButton* mDensityTypeLabel;
    KestromPushButton* mDensityFactorLabel;
    KestromPushButton* mContentValue;
    KestromPushButton* mFullTankButton;
    KestromPushButton* mDensityTypeValue;
    KestromPushButton* mDensityFactorValue;
    KestromPushButton* mWaterOption;
    KestromPushButton* mFertilizerOption;
    NumericKeypadWidget* mContentKeypad;
    NumericKeypadWidget* mFactorKeypad;
    ButtonGridWidget* mDensityGrid;
};

}  // namespace ToolsViewWidgets
