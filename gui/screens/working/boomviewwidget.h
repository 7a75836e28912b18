#pragma once
// The boom along the bottom of the working screen: the frame across the full
// width and one nozzle symbol per section (at most fifteen), each showing
// whether its section sprays ("Active"), is off while the machine sprays
// ("Inactive") or the machine does not spray ("Closed"), in the capacity colour
// of the active tip preset's nozzle. Follows the hub's section, section-count
// and work-state signals, and every 100 ms while shown the work state and the
// active preset, so a change reaches the picture within 100 ms.
#include "backgroundwidget.h"

#include <QPixmap>
#include <QSize>
#include <QString>

#include <cstdint>

class QLabel;

class BoomViewWidget : public BackgroundWidget {
    Q_OBJECT
public:
    enum : int { SymbolCount = 15 };

    explicit BoomViewWidget(QWidget* parent);
    ~BoomViewWidget() override;

    void timedUpdate() override;

    // Symbol size for n sections: as wide as n symbols with their gaps allow.
    static QSize sectionImageSize(int sections);
    // Colour name of a capacity colour code; codes without pictures draw black.
    static QString colourName(uint32_t code);
    // ":/images/SprayNozzle" + colour + state + ".svg".
    static QString symbolPath(const QString& colour, const QString& state);

    QLabel* sectionLabel(int section) const;

public slots:
    void boomSectionsChanged(uint16_t sections);
    void sectionStatusChanged(uint32_t mask);
    void workStatusChanged(bool on);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString activeColour() const;
    // Renders the three symbols for the active colour and section count when either changed.
    void prepareSymbols();
    void drawSectionStates();
    void showSectionCount();

    int mSections = 9;
    QLabel* mFrame;
    QLabel* mLabels[SymbolCount];
    uint32_t mMask = 0;
    bool mSpraying = false;
    bool mRedrawNeeded = false;
    int mDrawnPreset = 0;
    QString mSymbolColour;
    QSize mSymbolSize;
    QPixmap mActive;
    QPixmap mInactive;
    QPixmap mClosed;
};
