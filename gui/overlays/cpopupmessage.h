#pragma once
// The message pop-up: warning, error or information. A touch anywhere on it
// closes it and acknowledges it (a finger dragging a long text scrolls it); a touch beside it closes it; its display and
// queue times close it on their own. The manager deletes it after it closes
// unless deleteOnClose was switched off.
#include "ctimedoverlay.h"

#include <QPixmap>
#include <QPointer>
#include <QScrollArea>

class CFormWidget;
class CHiddenPushButton;
class TouchDragScroll;

class CPopupMessage : public CTimedOverlay {
    Q_OBJECT
public:
    enum Kind { KindNone = 0, KindWarning = 1, KindError = 2, KindInformation = 3 };

    CPopupMessage(const QString& title, const QString& text, const QPixmap& icon, int kind,
                  float displaySeconds, float busyDisplaySeconds, float queueSeconds,
                  bool textLeftAligned = false);

    // Creators: build, queue on the global overlay manager and return the message.
    static CPopupMessage* create(const QString& title, const QString& text, const QPixmap& icon, int kind,
                                 float displaySeconds, float busyDisplaySeconds, float queueSeconds,
                                 int priority, bool textLeftAligned = false);
    static CPopupMessage* information(const QString& title, const QString& text, float displaySeconds = 9,
                                      float busyDisplaySeconds = 3, float queueSeconds = 21, int priority = 0);
    // A help text: stays until touched.
    static CPopupMessage* showInformation(const QString& title, const QString& text);
    static CPopupMessage* showInformationMessage(const QString& text, float displaySeconds = 9,
                                                 float busyDisplaySeconds = 3, float queueSeconds = 21,
                                                 int priority = 0);
    static CPopupMessage* error(const QString& title, const QString& text, float displaySeconds = 9,
                                float busyDisplaySeconds = 3, float queueSeconds = 21, int priority = 0);
    static CPopupMessage* showError(const QString& text, float displaySeconds = 9, float busyDisplaySeconds = 3,
                                    float queueSeconds = 21, int priority = 0);
    static CPopupMessage* warning(const QString& title, const QString& text, float displaySeconds = 9,
                                  float busyDisplaySeconds = 3, float queueSeconds = 21, int priority = 0);
    static CPopupMessage* showWarning(const QString& text, float displaySeconds = 9,
                                      float busyDisplaySeconds = 3, float queueSeconds = 21, int priority = 0);
    static CPopupMessage* alarmWarning(const QString& title, const QString& text, bool textLeftAligned,
                                       float displaySeconds = 60, float busyDisplaySeconds = 3,
                                       float queueSeconds = 70, int priority = 0);

    bool enqueue(int priority);
    void setTitle(const QString& title);
    void setText(const QString& text);
    void setKind(int kind) { mKind = kind; }
    int kind() const { return mKind; }
    void setDeleteOnClose(bool on) { mDeleteOnClose = on; }
    void dismiss() { requestClose(); }
    CFormWidget* form() const { return mForm; }

    void detachedFromManager(int reason) override;
    bool mayClose(int reason, int argument) override;
    bool deleteOnClose() override;
    void backplaneClicked() override;

signals:
    void popupAcknowledge();

public slots:
    void vHiddenCoverPressed();
    void vFormResized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The cover takes every touch: drags on the text scroll it from there.
    void followTextArea();

    int mKind;
    CHiddenPushButton* mCover;
    CFormWidget* mForm;
    bool mDeleteOnClose = true;
    TouchDragScroll* mCoverScroll = nullptr;
    QPointer<QScrollArea> mScrolledArea;
};
