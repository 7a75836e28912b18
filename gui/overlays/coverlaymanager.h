#pragma once
// The one overlay manager: shows at most one overlay at a time, centred on an
// invisible backplane over the whole view stack; the others wait in a queue,
// higher priority first and equal priorities in arrival order. Priority 3
// pre-empts the shown overlay, which goes back into the queue right behind it;
// priority -1000 queues nothing. Closing is deferred to the next pass of the
// event loop, so an overlay may ask for its own close from inside its slots.
// GUI thread only.
#include <QList>
#include <QObject>
#include <QTimer>

class COverlayInterface;
class CSplashButtonWidget;
class QWidget;

class COverlayManager : public QObject {
    Q_OBJECT
public:
    enum : int { PriorityPreempt = 3, PriorityNoQueue = -1000 };

    // Creates the global instance on the parent widget (the main window's
    // central widget), which owns it.
    static COverlayManager* createInstance(QWidget* parent);
    // Null before createInstance and after the instance is destroyed.
    static COverlayManager* instance();

    explicit COverlayManager(QWidget* parent);
    ~COverlayManager() override;

    void setArea(int width, int height);
    // False, with nothing changed, for priority -1000, a null overlay and an
    // overlay already queued or shown.
    bool addOverlay(COverlayInterface* overlay, int priority);
    void requestClose(COverlayInterface* overlay);
    COverlayInterface* currentOverlay() const { return mCurrent; }
    void overlayDestroyed(COverlayInterface* overlay);
    void centreOverlay(COverlayInterface* overlay);

    CSplashButtonWidget* backplane() const { return mBackplane; }
    int queuedCount() const { return mPending.size(); }

public slots:
    void vBackPlaneClicked();
    void vCloseAllClosePending();

private:
    void showNext();
    void closeNow(COverlayInterface* overlay);

    QList<COverlayInterface*> mPending;
    QList<COverlayInterface*> mClosePending;
    COverlayInterface* mCurrent = nullptr;
    CSplashButtonWidget* mBackplane;
    QTimer mCloseTimer;
};
