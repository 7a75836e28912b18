#pragma once
// Tank set-up of the installer menu: maximum and minimum tank content,
// automatic filling and its offset. In NH3 mode the contents are masses: the
// same items, converted with the mass quantity.
#include <QWidget>

#include <cstdint>

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemTankSetup : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOemTankSetup(QWidget* parent = nullptr);
    ~ConfigOemTankSetup() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editTankMaxContent();
    void commitTankMaxContent(double value);
    void editTankMinContent();
    void commitTankMinContent(double value);
    void toggleAutoFillingState();
    void editAutoFillOffset();
    void commitAutoFillOffset(double value);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { RowCount = 4 };
    // The words of the content unit: volume, or mass in NH3 mode.
    QString volumeUnitText(bool abbreviated) const;
    void refreshContent(int row);
    void refreshAutoFilling();
    void editContent(int row, const QString& title, void (ConfigOemTankSetup::*commit)(double));
    void commitContent(int row, double value);
    void showContentHelp(int row, const QString& title, const QString& text);

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
    NumericKeypadWidget* mKeypads[RowCount];
};

}  // namespace ToolsViewWidgets
