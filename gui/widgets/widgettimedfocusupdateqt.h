#pragma once
// Base of every page and working-screen widget that refreshes itself: while it
// is shown, each 100 ms beat of the signal hub runs timedUpdate once; while it
// is hidden, nothing runs. Subclasses that override showEvent or hideEvent call
// these versions, or the page stops (or never starts) refreshing.
#include <QWidget>

class WidgetTimedFocusUpdateQt : public QWidget {
    Q_OBJECT
public:
    explicit WidgetTimedFocusUpdateQt(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    virtual void timedUpdate() = 0;

public slots:
    void callUpdate();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool mConnected = false;
};
