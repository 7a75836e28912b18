#include "cidpushbutton.h"

#include <QMouseEvent>

CIdPushButton::CIdPushButton(QWidget* parent) : QPushButton(parent)
{
    init();
}

CIdPushButton::CIdPushButton(int id, QWidget* parent) : QPushButton(parent), mId(id)
{
    init();
}

void CIdPushButton::init()
{
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::pressed, this, &CIdPushButton::OnPressed);
    connect(this, &QAbstractButton::released, this, &CIdPushButton::OnReleased);
}

void CIdPushButton::OnPressed()
{
    emit Pressed(mId);
}

void CIdPushButton::OnReleased()
{
    emit Released(mId);
}

int CIdPushButton::cancelMargin() const
{
    return 0;
}

void CIdPushButton::mousePressEvent(QMouseEvent* event)
{
    if (mPressed)
        return;
    mPressed = true;
    QAbstractButton::mousePressEvent(event);
}

void CIdPushButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!mPressed)
        return;
    const int m = cancelMargin();
    const QRect allowed(QPoint(-m, -m), QPoint(width() - 1 + m, height() - 1 + m));
    if (allowed.contains(event->pos()))
        return;
    mPressed = false;
    setDown(false);
    emit Cancelled(mId);
}

void CIdPushButton::mouseReleaseEvent(QMouseEvent*)
{
    if (!mPressed)
        return;
    setDown(false);
    mPressed = false;
    emit released();
    emit clicked(false);
    if (isCheckable()) {
        nextCheckState();
        emit Toggled(mId, isChecked());
    }
}
