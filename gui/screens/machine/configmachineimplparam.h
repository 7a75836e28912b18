#pragma once
// The implement parameters menu: section configuration, tip presets (a pair of
// pages) and regulation parameters, each a page of the menu's own stack. Back
// on a page returns to the menu's buttons; home does too and passes the request on.
#include <QWidget>

class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class ConfigMachineImplParamNozSetup;
class ConfigMachineImplParamNozSetup2;
class ConfigMachineImplParamRegParam;
class ConfigMachineImplParamSectWidth;
class SettingPageKit;

class ConfigMachineImplParam : public QWidget {
    Q_OBJECT
public:
    explicit ConfigMachineImplParam(QWidget* parent = nullptr);

    QStackedWidget* stack() const { return mStack; }
    int sectionsIndex() const { return mSectionsIndex; }
    int presetsIndex() const { return mPresetsIndex; }
    int referenceIndex() const { return mReferenceIndex; }
    int regulationIndex() const { return mRegulationIndex; }

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void showTopPage();
    void showNextPage();
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QStackedWidget* mStack;
    SettingPageKit* mKit;
    ConfigMachineImplParamSectWidth* mSections;
    ConfigMachineImplParamNozSetup* mPresets;
    ConfigMachineImplParamNozSetup2* mReference;
    ConfigMachineImplParamRegParam* mRegulation;
    KestromPushButton* mSectionsButton;
    KestromPushButton* mPresetsButton;
    KestromPushButton* mRegulationButton;
    int mSectionsIndex = 0;
    int mPresetsIndex = 0;
    int mReferenceIndex = 0;
    int mRegulationIndex = 0;
};

}  // namespace ToolsViewWidgets
