#pragma once
// The tank-level sensor's calibration menu: the empty, minimum, maximum and
// shape calibrations in a page stack of its own, and the transfer of the tank
// calibration file "ShapeCal.ini" between the console's configuration
// directory and the root of the USB stick, each way after a question where a
// file would be replaced. A transfer never leaves a part of a file behind:
// export writes beside the stick's file and replaces it; a failed import puts
// the console's previous file back, so the calibration it holds stays.
#include <QString>
#include <QWidget>

#include <string>

class CPopupQuery;
class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class ConfigMachineCalTankLevelSensorEmpty;
class ConfigMachineCalTankLevelSensorMax;
class ConfigMachineCalTankLevelSensorMin;
class ConfigMachineCalTankLevelSensorShape;
class SettingPageKit;

class ConfigMachineCalTankLevel : public QWidget {
    Q_OBJECT
public:
    explicit ConfigMachineCalTankLevel(QWidget* parent = nullptr);

    SettingPageKit* kit() const { return mKit; }
    QStackedWidget* pageStack() const { return mStack; }
    ConfigMachineCalTankLevelSensorEmpty* emptyPage() const { return mEmptyPage; }
    ConfigMachineCalTankLevelSensorMin* minimumPage() const { return mMinPage; }
    ConfigMachineCalTankLevelSensorMax* maximumPage() const { return mMaxPage; }
    ConfigMachineCalTankLevelSensorShape* shapePage() const { return mShapePage; }
    KestromPushButton* importButton() const { return mImportButton; }
    KestromPushButton* exportButton() const { return mExportButton; }

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void showTopPage();
    void showNextPage();
    void handleButtonBarPressed(int id);
    void usbChange(bool present);
    void importTankCalibration();
    void exportTankCalibration();
    void ImportResponseYesNoClicked(CPopupQuery* query, int answer);
    void ExportResponseYesNoClicked(CPopupQuery* query, int answer);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    bool importFromStick();
    bool exportToStick();

    const std::string mUsbFile;
    const std::string mConfigFile;
    QStackedWidget* mStack;
    SettingPageKit* mKit;
    ConfigMachineCalTankLevelSensorEmpty* mEmptyPage;
    ConfigMachineCalTankLevelSensorMin* mMinPage;
    ConfigMachineCalTankLevelSensorMax* mMaxPage;
    ConfigMachineCalTankLevelSensorShape* mShapePage;
    KestromPushButton* mEmptyButton;
    KestromPushButton* mMinButton;
    KestromPushButton* mMaxButton;
    KestromPushButton* mShapeButton;
    KestromPushButton* mExportButton;
    KestromPushButton* mImportButton;
};

}  // namespace ToolsViewWidgets
