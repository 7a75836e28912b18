#pragma once
// The question pop-up: one to three answer buttons, each with an answer code,
// and an optional time-out that answers with its own code. The first answer
// wins; the manager deletes the query after it closes.
#include "coverlayinterface.h"

#include <QPixmap>

class CFormWidget;
class ClockTimer;

class CPopupQuery : public COverlayInterface {
    Q_OBJECT
public:
    CPopupQuery(const QString& title, const QString& text, const QPixmap& pixmap);

    // Creators: build, queue on the global overlay manager and return the query.
    static CPopupQuery* createOne(const QPixmap& icon, const QString& title, const QString& text,
                                  const QPixmap& pixmap, int okCode, int priority);
    static CPopupQuery* showOk(const QString& text, int okCode = 1, int priority = 0);
    static CPopupQuery* createTwo(const QPixmap& yesIcon, const QPixmap& noIcon, const QString& title,
                                  const QString& text, const QPixmap& pixmap, int yesCode, int noCode,
                                  int priority);
    static CPopupQuery* askYesNoWithIcon(const QString& title, const QString& text, const QPixmap& pixmap,
                                         int yesCode = 1, int noCode = 0, int priority = 0);
    static CPopupQuery* askYesNo(const QString& text, int yesCode = 1, int noCode = 0, int priority = 0);

    // Negative seconds remove the time-out; otherwise it runs while the query is shown.
    void setTimeout(float seconds, int code);
    // Answers once; later calls do nothing.
    void respond(int code);
    void setButtonCount(int n);
    void setButtonCode(int index, int code);
    bool enqueue(int priority);
    int response() const { return mResponse; }
    CFormWidget* form() const { return mForm; }
    void setDeleteOnClose(bool on) { mDeleteOnClose = on; }

    bool prepareShow(int areaWidth, int areaHeight) override;
    void overlaySuspended() override;
    void detachedFromManager(int reason) override;
    bool mayClose(int reason, int argument) override;
    bool deleteOnClose() override;

signals:
    void ResponseReceived(CPopupQuery* query, int code);

public slots:
    void vButtonReleased(CFormWidget* form, int id);
    void vFormResized();
    void vTimerTicked();

private:
    struct Answer {
        QPixmap icon;
        QString text;
        int code;
    };
    static CPopupQuery* build(const QString& title, const QString& text, const QPixmap& pixmap,
                              const QList<Answer>& answers, int priority);

    CFormWidget* mForm;
    bool mDeleteOnClose = true;
    // The first answer is the only one, however it comes.
    bool mAnswered = false;
    int mResponse = -1;
    int mTimeoutCode = -1;
    int mTimeoutMs = 0;
    ClockTimer* mTimer = nullptr;
};
