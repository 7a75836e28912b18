#include "csplashbuttonwidget.h"

#include <QVariant>

CSplashButtonWidget::CSplashButtonWidget(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setProperty("transparent", true);
}

void CSplashButtonWidget::vSetSplashShown(bool shaded)
{
    mShaded = shaded;
    update();
}

void CSplashButtonWidget::mousePressEvent(QMouseEvent*)
{
    emit Pressed();
}

void CSplashButtonWidget::mouseReleaseEvent(QMouseEvent*)
{
    emit Released();
}

void CSplashButtonWidget::paintEvent(QPaintEvent*)
{
}
