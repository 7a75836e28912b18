#pragma once
// Sensor presence of the installer menu: flow, liquid pressure, fill flow and
// tank sensor, each a yes/no row toggled by a touch through a command to the
// core. Fill flow and tank sensor exclude each other; the core keeps at least
// one of flow and pressure sensor.
#include <QWidget>

class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemSensorPresence : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOemSensorPresence(QWidget* parent = nullptr);
    ~ConfigOemSensorPresence() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void showHelp(int id);
    void handleButtonBarPressed(int id);
    void togglePresenceState(int row);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { RowCount = 4 };
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
};

}  // namespace ToolsViewWidgets
