#pragma once
// The themed push button every screen uses: a key beep on each touch, a
// 50-unit cancel margin, and a grey look while disabled. A completed press
// emits takeAction(id) right after Released(id).
#include "cidpushbutton.h"

#include <QSize>

class KestromPushButton : public CIdPushButton {
    Q_OBJECT
public:
    explicit KestromPushButton(QWidget* parent = nullptr);
    KestromPushButton(int id, QWidget* parent);

    // The SVG (or other picture) at path, through the pixmap cache, as the icon.
    void setSvgIcon(const char* path, const QSize& size);

    static const char* disabledStyleSheet();

signals:
    void takeAction(int id);

public slots:
    void playPressedSound();
    void playReleasedSound();

protected:
    void changeEvent(QEvent* event) override;
    int cancelMargin() const override;

private:
    void init();
};
