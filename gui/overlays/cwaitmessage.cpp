#include "cwaitmessage.h"

#include "cformwidget.h"
#include "coverlaymanager.h"
#include "guigeometry.h"
#include "qtimagetools.h"

CWaitMessage::CWaitMessage(const QString& title, const QString& text, bool shade)
    : mForm(new CFormWidget(this)), mShade(shade)
{
    mForm->setTitle(title);
    mForm->setText(text, false);
    mForm->setIcon(QtImageTools::loadPixmap(":/images/hourglass.svg", GuiGeometry::iconSize30(), false,
                                            Qt::KeepAspectRatio),
                   true, true);
    mForm->move(0, 0);
    mForm->adjustSize();
    connect(mForm, &CFormWidget::Resized, this, &CWaitMessage::vFormResized);
    resize(mForm->size());
}

bool CWaitMessage::showMessage(int priority)
{
    COverlayManager* manager = COverlayManager::instance();
    return manager != nullptr && manager->addOverlay(this, priority);
}

bool CWaitMessage::prepareShow(int, int)
{
    return true;
}

void CWaitMessage::overlaySuspended()
{
}

void CWaitMessage::detachedFromManager(int)
{
}

bool CWaitMessage::mayClose(int, int)
{
    return false;
}

bool CWaitMessage::deleteOnClose()
{
    return true;
}

bool CWaitMessage::shadeBackplane()
{
    return mShade;
}

void CWaitMessage::vFormResized()
{
    resize(mForm->size());
}
