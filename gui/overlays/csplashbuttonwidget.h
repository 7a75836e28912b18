#pragma once
// The overlay manager's backplane: an invisible widget over the whole view
// stack that catches touches outside the shown overlay.
#include <QWidget>

class CSplashButtonWidget : public QWidget {
    Q_OBJECT
public:
    explicit CSplashButtonWidget(QWidget* parent);

    bool isShaded() const { return mShaded; }

signals:
    void Pressed();
    void Released();

public slots:
    void vSetSplashShown(bool shaded);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Draws nothing: invisible whether shaded or not.
    void paintEvent(QPaintEvent* event) override;

private:
    bool mShaded = false;
};
