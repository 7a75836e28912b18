#pragma once
// The hourglass message shown while the GUI thread is busy. It never closes
// itself: its owner destroys it when the work is done, which takes it off the
// overlay manager.
#include "coverlayinterface.h"

class CFormWidget;

class CWaitMessage : public COverlayInterface {
    Q_OBJECT
public:
    CWaitMessage(const QString& title, const QString& text, bool shade);

    bool showMessage(int priority);
    CFormWidget* form() const { return mForm; }

    bool prepareShow(int areaWidth, int areaHeight) override;
    void overlaySuspended() override;
    void detachedFromManager(int reason) override;
    bool mayClose(int reason, int argument) override;
    bool deleteOnClose() override;
    bool shadeBackplane() override;

public slots:
    void vFormResized();

private:
    CFormWidget* mForm;
    bool mShade;
};
