#pragma once
// A timed-update widget that paints the background, border and image its style
// sheet gives it (a plain QWidget subclass paints none of them).
#include "widgettimedfocusupdateqt.h"

class BackgroundWidget : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit BackgroundWidget(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
