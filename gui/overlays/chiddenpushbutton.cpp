#include "chiddenpushbutton.h"

#include <QVariant>

CHiddenPushButton::CHiddenPushButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setProperty("transparent", true);
}

void CHiddenPushButton::mousePressEvent(QMouseEvent*)
{
    emit Pressed();
}

void CHiddenPushButton::mouseReleaseEvent(QMouseEvent*)
{
    emit Released();
}
