#pragma once
// An invisible cover that makes a whole message pop-up touch-sensitive.
#include <QWidget>

class CHiddenPushButton : public QWidget {
    Q_OBJECT
public:
    explicit CHiddenPushButton(QWidget* parent);

signals:
    void Pressed();
    void Released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
