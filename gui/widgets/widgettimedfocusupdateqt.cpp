#include "widgettimedfocusupdateqt.h"

#include "eventsignals.h"

WidgetTimedFocusUpdateQt::WidgetTimedFocusUpdateQt(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
}

void WidgetTimedFocusUpdateQt::showEvent(QShowEvent*)
{
    if (mConnected)
        return;
    mConnected = true;
    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::event100ms, this,
            &WidgetTimedFocusUpdateQt::callUpdate);
}

void WidgetTimedFocusUpdateQt::hideEvent(QHideEvent*)
{
    if (!mConnected)
        return;
    mConnected = false;
    disconnect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::event100ms, this,
               &WidgetTimedFocusUpdateQt::callUpdate);
}

void WidgetTimedFocusUpdateQt::callUpdate()
{
    timedUpdate();
}
