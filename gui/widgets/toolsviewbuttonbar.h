#pragma once
// The narrow vertical bar of back (id 0), next (1) and home (2) buttons at the
// edge of every menu and settings page. It only reports which button was
// touched; each page decides what the three mean for it.
#include <QButtonGroup>
#include <QWidget>

namespace ToolsViewWidgets {

class ToolsViewButtonBar : public QWidget {
    Q_OBJECT
public:
    enum ButtonId { Back = 0, Next = 1, Home = 2 };

    explicit ToolsViewButtonBar(QWidget* parent);
    ~ToolsViewButtonBar() override;

    void setButtonsVisible(bool back, bool next, bool home);

signals:
    void buttonTouched(int id);

public slots:
    void handleButtonTouched(int id);
    void handleButtonShowHide(int id, bool visible);

private:
    QButtonGroup* mGroup;
};

}  // namespace ToolsViewWidgets
