#pragma once
// The home view: the launcher with one large button per top-level view. The
// button ids are the view stack's indices of the views they open.
#include <QWidget>

class HomeViewCtrl : public QWidget {
    Q_OBJECT
public:
    explicit HomeViewCtrl(QWidget* parent);

signals:
    void ShowSelectedView(int id);

public slots:
    // Ignored while the master valve is on: the operator must stop spraying first.
    void handleSelectionPressed(int id);
};
