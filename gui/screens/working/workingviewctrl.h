#pragma once
// The working screen. Until its widgets exist it shows its title and the two
// ways out it offers the operator: the home view and the first filling page.
#include <QWidget>

class WorkingViewCtrl : public QWidget {
    Q_OBJECT
public:
    explicit WorkingViewCtrl(QWidget* parent);

signals:
    void ShowHomeView();
    void ShowFillingView();
};
