#include "cpopupquery.h"

#include "cformwidget.h"
#include "clocktimer.h"
#include "coverlaymanager.h"
#include "kestrompushbutton.h"

#include <QIcon>

CPopupQuery::CPopupQuery(const QString& title, const QString& text, const QPixmap& pixmap)
    : mForm(new CFormWidget(this))
{
    mForm->setTitle(title);
    mForm->setText(text, false);
    if (!pixmap.isNull())
        mForm->setIcon(pixmap, true, true);
    mForm->setButtonSpacing(20);
    mForm->move(0, 0);
    mForm->adjustSize();
    connect(mForm, &CFormWidget::Resized, this, &CPopupQuery::vFormResized);
    connect(mForm, &CFormWidget::ButtonReleased, this, &CPopupQuery::vButtonReleased);
    resize(mForm->size());
}

CPopupQuery* CPopupQuery::build(const QString& title, const QString& text, const QPixmap& pixmap,
                                const QList<Answer>& answers, int priority)
{
    CPopupQuery* query = new CPopupQuery(title, text, pixmap);
    query->setButtonCount(answers.size());
    for (int i = 0; i < answers.size(); ++i) {
        const Answer& answer = answers.at(i);
        if (answer.icon.isNull()) {
            query->mForm->setButtonText(i, answer.text);
        } else {
            query->mForm->setButtonIcon(i, QIcon(answer.icon));
            query->mForm->button(i)->setIconSize(answer.icon.size());
        }
        query->setButtonCode(i, answer.code);
    }
    query->mForm->adjustSize();
    // Refused without being asked to stay unqueued (no overlay manager yet):
    // nobody would ever show or delete it.
    if (!query->enqueue(priority) && priority != COverlayManager::PriorityNoQueue)
        query->deleteLater();
    return query;
}

CPopupQuery* CPopupQuery::createOne(const QPixmap& icon, const QString& title, const QString& text,
                                    const QPixmap& pixmap, int okCode, int priority)
{
    return build(title, text, pixmap, {Answer{icon, tr("OK"), okCode}}, priority);
}

CPopupQuery* CPopupQuery::showOk(const QString& text, int okCode, int priority)
{
    return createOne(QPixmap(), QString(), text, QPixmap(), okCode, priority);
}

CPopupQuery* CPopupQuery::createTwo(const QPixmap& yesIcon, const QPixmap& noIcon, const QString& title,
                                    const QString& text, const QPixmap& pixmap, int yesCode, int noCode,
                                    int priority)
{
    return build(title, text, pixmap,
                 {Answer{yesIcon, tr("Yes"), yesCode}, Answer{noIcon, tr("No"), noCode}}, priority);
}

CPopupQuery* CPopupQuery::askYesNoWithIcon(const QString& title, const QString& text, const QPixmap& pixmap,
                                           int yesCode, int noCode, int priority)
{
    return createTwo(QPixmap(), QPixmap(), title, text, pixmap, yesCode, noCode, priority);
}

CPopupQuery* CPopupQuery::askYesNo(const QString& text, int yesCode, int noCode, int priority)
{
    return createTwo(QPixmap(), QPixmap(), QString(), text, QPixmap(), yesCode, noCode, priority);
}

void CPopupQuery::setTimeout(float seconds, int code)
{
    if (seconds < 0) {
        delete mTimer;
        mTimer = nullptr;
        return;
    }
    if (mTimer == nullptr) {
        mTimer = new ClockTimer(this);
        connect(mTimer, &ClockTimer::timeout, this, &CPopupQuery::vTimerTicked);
    }
    mTimeoutMs = static_cast<int>(seconds * 1000.0f);
    mTimeoutCode = code;
    if (isShown())
        mTimer->start(mTimeoutMs);
}

void CPopupQuery::respond(int code)
{
    if (mAnswered)
        return;
    mAnswered = true;
    delete mTimer;
    mTimer = nullptr;
    // No second answer can follow.
    disconnect(mForm, &CFormWidget::Resized, this, &CPopupQuery::vFormResized);
    disconnect(mForm, &CFormWidget::ButtonReleased, this, &CPopupQuery::vButtonReleased);
    mResponse = code;
    emit ResponseReceived(this, code);
    requestClose();
}

void CPopupQuery::setButtonCount(int n)
{
    mForm->setButtonGrid(n > 0 ? 1 : 0, n);
}

void CPopupQuery::setButtonCode(int index, int code)
{
    if (KestromPushButton* button = mForm->button(index))
        button->setId(code);
}

bool CPopupQuery::enqueue(int priority)
{
    COverlayManager* manager = COverlayManager::instance();
    return manager != nullptr && manager->addOverlay(this, priority);
}

bool CPopupQuery::prepareShow(int, int)
{
    if (mTimer != nullptr && !mTimer->isActive())
        mTimer->start(mTimeoutMs);
    return true;
}

void CPopupQuery::overlaySuspended()
{
}

void CPopupQuery::detachedFromManager(int)
{
}

bool CPopupQuery::mayClose(int, int)
{
    return false;
}

bool CPopupQuery::deleteOnClose()
{
    return mDeleteOnClose;
}

void CPopupQuery::vButtonReleased(CFormWidget*, int id)
{
    respond(id);
}

void CPopupQuery::vFormResized()
{
    resize(mForm->size());
}

void CPopupQuery::vTimerTicked()
{
    respond(mTimeoutCode);
}
