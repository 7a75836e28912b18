#pragma once
// Test Outputs (2): single section valves switched on or off by hand, and all
// of them off. The page holds at most fifteen sections, whatever the
// configuration claims; it never touches a section past them. Showing the page
// puts the core's outputs into test mode; hiding it ends test mode.
#include "widgettimedfocusupdateqt.h"

#include <array>

class ButtonGridWidget;
class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigDiagnosticsTestOutputs2 : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    enum { SectionSlots = 15 };

    explicit ConfigDiagnosticsTestOutputs2(QWidget* parent = nullptr);
    ~ConfigDiagnosticsTestOutputs2() override;

    // The values change only through the page's own actions and on show.
    void timedUpdate() override {}

    // Sections this page can drive: the physical section outputs, at most the slots.
    static int sectionOutputCount();
    int sectionButtonCount() const { return mButtonsInGrid; }

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editSectionNumber();
    void commitSectionNumber(int index);
    void editSectionState();
    void commitSectionState(int state);
    void setAllSections();
    void showHelp(int row);
    void handleButtonBarPressed(int id);
    void updateButtonSectionStates();
    void updateNoOfSections();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { NumberRow = 0, StateRow = 1, AllOffRow = 2, RowCount = 3 };
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
    ButtonGridWidget* mSectionGrid;
    ButtonGridWidget* mStateGrid;
    KestromPushButton* mOnOption;
    KestromPushButton* mOffOption;
    // Keeps the section buttons while the grid does not hold them.
    QWidget* mButtonStore;
    std::array<KestromPushButton*, SectionSlots> mSectionButtons{};
    int mButtonsInGrid = 0;
    std::array<int, SectionSlots> mSectionStates{};
    int mSelected = 0;
    int mSectionCount = 9;
    int mOutputCount = 0;
};

}  // namespace ToolsViewWidgets
