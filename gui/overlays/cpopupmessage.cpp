#include "cpopupmessage.h"

#include "cformwidget.h"
#include "chiddenpushbutton.h"
#include "coverlaymanager.h"
#include "overlaystyle.h"
#include "touchdragscroll.h"

CPopupMessage::CPopupMessage(const QString& title, const QString& text, const QPixmap& icon, int kind,
                             float displaySeconds, float busyDisplaySeconds, float queueSeconds,
                             bool textLeftAligned)
    : CTimedOverlay(displaySeconds, busyDisplaySeconds, queueSeconds), mKind(kind), mCover(nullptr),
      mForm(new CFormWidget(this))
{
    if (!icon.isNull())
        mForm->setIcon(icon, true, true);
    if (!title.isEmpty())
        mForm->setTitle(title);
    if (!text.isEmpty())
        mForm->setText(text, textLeftAligned);
    mForm->move(0, 0);
    mForm->adjustSize();
    mCover = new CHiddenPushButton(this);
    mCover->setGeometry(mForm->geometry());
    connect(mCover, &CHiddenPushButton::Released, this, &CPopupMessage::vHiddenCoverPressed);
    followTextArea();
    connect(mForm, &CFormWidget::Resized, this, &CPopupMessage::vFormResized);
    resize(mForm->size());
}

CPopupMessage* CPopupMessage::create(const QString& title, const QString& text, const QPixmap& icon, int kind,
                                     float displaySeconds, float busyDisplaySeconds, float queueSeconds,
                                     int priority, bool textLeftAligned)
{
    CPopupMessage* message = new CPopupMessage(title, text, icon, kind, displaySeconds, busyDisplaySeconds,
                                               queueSeconds, textLeftAligned);
    // Refused without being asked to stay unqueued (no overlay manager yet):
    // nobody would ever show or delete it.
    if (!message->enqueue(priority) && priority != COverlayManager::PriorityNoQueue)
        message->deleteLater();
    return message;
}

CPopupMessage* CPopupMessage::information(const QString& title, const QString& text, float displaySeconds,
                                          float busyDisplaySeconds, float queueSeconds, int priority)
{
    return create(title, text, OverlayStyle::informationIcon(), KindInformation, displaySeconds,
                  busyDisplaySeconds, queueSeconds, priority);
}

CPopupMessage* CPopupMessage::showInformation(const QString& title, const QString& text)
{
    return information(title, text, 0, 0, 21, 0);
}

CPopupMessage* CPopupMessage::showInformationMessage(const QString& text, float displaySeconds,
                                                     float busyDisplaySeconds, float queueSeconds, int priority)
{
    return information(QString(), text, displaySeconds, busyDisplaySeconds, queueSeconds, priority);
}

CPopupMessage* CPopupMessage::error(const QString& title, const QString& text, float displaySeconds,
                                    float busyDisplaySeconds, float queueSeconds, int priority)
{
    return create(title, text, OverlayStyle::errorIcon(), KindError, displaySeconds, busyDisplaySeconds,
                  queueSeconds, priority);
}

CPopupMessage* CPopupMessage::showError(const QString& text, float displaySeconds, float busyDisplaySeconds,
                                        float queueSeconds, int priority)
{
    return error(tr("Error"), text, displaySeconds, busyDisplaySeconds, queueSeconds, priority);
}

CPopupMessage* CPopupMessage::warning(const QString& title, const QString& text, float displaySeconds,
                                      float busyDisplaySeconds, float queueSeconds, int priority)
{
    return create(title, text, OverlayStyle::warningIcon(), KindWarning, displaySeconds, busyDisplaySeconds,
                  queueSeconds, priority);
}

CPopupMessage* CPopupMessage::showWarning(const QString& text, float displaySeconds, float busyDisplaySeconds,
                                          float queueSeconds, int priority)
{
    return warning(tr("Warning"), text, displaySeconds, busyDisplaySeconds, queueSeconds, priority);
}

CPopupMessage* CPopupMessage::alarmWarning(const QString& title, const QString& text, bool textLeftAligned,
                                           float displaySeconds, float busyDisplaySeconds, float queueSeconds,
                                           int priority)
{
    return create(title, text, OverlayStyle::warningIcon(), KindWarning, displaySeconds, busyDisplaySeconds,
                  queueSeconds, priority, textLeftAligned);
}

bool CPopupMessage::enqueue(int priority)
{
    COverlayManager* manager = COverlayManager::instance();
    return manager != nullptr && manager->addOverlay(this, priority);
}

void CPopupMessage::setTitle(const QString& title)
{
    mForm->setTitle(title);
}

void CPopupMessage::setText(const QString& text)
{
    mForm->setText(text, false);
    followTextArea();
}

void CPopupMessage::followTextArea()
{
    if (mForm->textArea() == mScrolledArea)
        return;
    delete mCoverScroll;
    mScrolledArea = mForm->textArea();
    mCoverScroll = mScrolledArea != nullptr ? new TouchDragScroll(mCover, mScrolledArea) : nullptr;
}

void CPopupMessage::detachedFromManager(int)
{
}

bool CPopupMessage::mayClose(int, int)
{
    return true;
}

bool CPopupMessage::deleteOnClose()
{
    return mDeleteOnClose;
}

void CPopupMessage::backplaneClicked()
{
    requestClose();
}

void CPopupMessage::vHiddenCoverPressed()
{
    requestClose();
    emit popupAcknowledge();
}

void CPopupMessage::vFormResized()
{
    resize(mForm->size());
}

void CPopupMessage::resizeEvent(QResizeEvent* event)
{
    if (mCover != nullptr) {
        mCover->move(0, 0);
        mCover->resize(size());
        mCover->raise();
    }
    CTimedOverlay::resizeEvent(event);
}
