#include "kestrompushbutton.h"

#include "beep.h"
#include "datastore.h"
#include "guigeometry.h"
#include "qtimagetools.h"

#include <QEvent>
#include <QIcon>
#include <QVariant>

KestromPushButton::KestromPushButton(QWidget* parent) : CIdPushButton(parent)
{
    init();
}

KestromPushButton::KestromPushButton(int id, QWidget* parent) : CIdPushButton(id, parent)
{
    init();
}

void KestromPushButton::init()
{
    setAutoRepeatDelay(200);
    setFocusPolicy(Qt::NoFocus);
    setContentsMargins(GuiGeometry::standardMargins());
    connect(this, &QAbstractButton::pressed, this, &KestromPushButton::playPressedSound);
    connect(this, &CIdPushButton::Released, this, &KestromPushButton::takeAction);
}

const char* KestromPushButton::disabledStyleSheet()
{
    return "QPushButton { background-color: #b5b5b5; }";
}

void KestromPushButton::setSvgIcon(const char* path, const QSize& size)
{
    setIcon(QIcon(QtImageTools::loadPixmap(path, size, false, Qt::KeepAspectRatio)));
    setIconSize(size);
}

void KestromPushButton::playPressedSound()
{
    if (datastoreGetBool(DS_KEY_BEEP))
        beepStart(BEEP_TYPE_CLICK, 1);
}

void KestromPushButton::playReleasedSound()
{
}

void KestromPushButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !property("transparent").toBool())
        setStyleSheet(isEnabled() ? QString() : QString::fromLatin1(disabledStyleSheet()));
    QAbstractButton::changeEvent(event);
}

int KestromPushButton::cancelMargin() const
{
    static const int margin = GuiGeometry::length50();
    return margin;
}
