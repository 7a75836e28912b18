#pragma once
// An overlay for the manager's tests that records what happens to it and
// knows whether it is still alive.
#include "coverlayinterface.h"
#include "coverlaymanager.h"
#include "csplashbuttonwidget.h"
#include "gui_test.h"
#include "guigeometry.h"

#include <QStringList>

#include <set>

class ProbeOverlay : public COverlayInterface {
public:
    ProbeOverlay(const QString& name, QStringList* log, bool deletes = true)
        : mName(name), mLog(log), mDeletes(deletes)
    {
        live().insert(this);
        resize(100, 60);
    }
    ~ProbeOverlay() override { live().erase(this); }

    static std::set<ProbeOverlay*>& live()
    {
        static std::set<ProbeOverlay*> overlays;
        return overlays;
    }
    static bool isAlive(const ProbeOverlay* overlay) { return live().count(const_cast<ProbeOverlay*>(overlay)) > 0; }

    bool prepareShow(int, int) override
    {
        ++prepares;
        note("shown");
        return accept;
    }
    void overlaySuspended() override { note("suspended"); }
    void detachedFromManager(int) override { note("closed"); }
    bool mayClose(int, int) override { return true; }
    bool deleteOnClose() override { return mDeletes; }
    void overlayQueuedBehind() override { ++queuedBehind; }
    void backplaneClicked() override { ++backplaneClicks; }

    int prepares = 0;
    int queuedBehind = 0;
    int backplaneClicks = 0;
    bool accept = true;

private:
    void note(const char* what)
    {
        if (mLog)
            *mLog << mName + ":" + what;
    }
    QString mName;
    QStringList* mLog;
    bool mDeletes;
};

// The main window's central widget with the overlay manager on it.
struct OverlayHost : WithGuiApplication {
    OverlayHost()
    {
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        central = new QWidget;
        central->resize(480, 272);
        manager = COverlayManager::createInstance(central);
        manager->setArea(480, 272);
        central->show();
    }
    ~OverlayHost()
    {
        delete central;
        pumpEvents();
    }
    bool backplaneUp() const { return manager->backplane()->isVisible(); }

    QWidget* central;
    COverlayManager* manager;
};
