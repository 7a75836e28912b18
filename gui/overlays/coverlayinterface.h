#pragma once
// Base of every pop-up: a widget handed to the one overlay manager, which shows
// one overlay at a time on its backplane and owns it from queueing to closing.
#include <QWidget>

class COverlayManager;

class COverlayInterface : public QWidget {
    Q_OBJECT
public:
    COverlayInterface();
    ~COverlayInterface() override;

    // Just before showing, with the backplane's size; false refuses, and the
    // manager closes the overlay and tries the next one.
    virtual bool prepareShow(int areaWidth, int areaHeight) = 0;
    // The shown overlay went back into the queue behind a priority-3 overlay.
    virtual void overlaySuspended() = 0;
    virtual void detachedFromManager(int reason) = 0;
    // Consent to being closed by another party.
    virtual bool mayClose(int reason, int argument) = 0;
    // True: the manager deletes the overlay once it is closed.
    virtual bool deleteOnClose() = 0;
    virtual void attachedToManager(int priority, COverlayManager* manager);
    // Another overlay now waits behind this one.
    virtual void overlayQueuedBehind();
    // A touch was released on the backplane outside this (shown) overlay.
    virtual void backplaneClicked();
    virtual bool shadeBackplane();

    // Asks the manager to close this overlay on the next pass of the event loop.
    void requestClose();
    bool isShown() const;
    bool attachToManager(int priority, COverlayManager* manager);
    void detachFromManager();
    int priority() const { return mPriority; }
    COverlayManager* manager() const { return mManager; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int mPriority = 0;
    COverlayManager* mManager = nullptr;
};
