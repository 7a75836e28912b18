#pragma once
// Section configuration: the number of tips of each boom section, a copy of
// one section's count to all sections, and the width that results (tips x tip
// spacing). The counts live in the core's section tip table; the page reads
// them from there and changes them only through the core's command. A static
// page of the implement parameters menu: refreshed on show and after each action.
#include <QWidget>

#include <array>

class ButtonGridWidget;
class CPopupQuery;
class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineImplParamSectWidth : public QWidget {
    Q_OBJECT
public:
    // The sections the page offers (the core may have more).
    enum : int { SectionCapacity = 15 };
    // The tip counts the keypad accepts.
    enum : int { MinTips = 0, MaxTips = 200 };

    explicit ConfigMachineImplParamSectWidth(QWidget* parent = nullptr);
    ~ConfigMachineImplParamSectWidth() override;

    // The selected section, 0-based (the operator sees it + 1).
    int selectedSection() const { return mSelected; }

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void editSectionNumber();
    void commitSectionNumber(int id);
    void editSectionWidth();
    void commitSectionWidth(double tips);
    void copyOneToAll();
    void showHelp(int id);
    void ResponseYesNoClicked(CPopupQuery* query, int code);
    void handleButtonBarPressed(int id);
    void updateButtonSectionWidths();
    bool updateNoOfSectionWidths();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Sections the page offers now: the configured count, at most the capacity.
    int offeredSections() const;
    void refreshCache();
    void refreshSelectedTexts();
    void refreshTipText();

    SettingPageKit* mKit;
    int mSelected = 0;
    std::array<KestromPushButton*, SectionCapacity> mOptions{};
    // The options placed in the grid now, in order.
    QList<KestromPushButton*> mPlaced;
    std::array<double, SectionCapacity> mTipCache{};
    ButtonGridWidget* mSectionGrid;
    NumericKeypadWidget* mTipsKeypad;
    KestromPushButton* mLabels[4];
    KestromPushButton* mSectionValue;
    KestromPushButton* mTipsValue;
    KestromPushButton* mCopyButton;
    KestromPushButton* mWidthValue;
};

}  // namespace ToolsViewWidgets
