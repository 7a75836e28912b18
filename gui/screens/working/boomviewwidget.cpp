#include "boomviewwidget.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventsignals.h"
#include "guigeometry.h"
#include "nozpreset.h"
#include "qtimagetools.h"
#include "workingresources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QVariant>

BoomViewWidget::BoomViewWidget(QWidget* parent) : BackgroundWidget(parent), mFrame(new QLabel(this))
{
    workingScreensInitResources();
    setProperty("transparent", true);
    setContentsMargins(0, 0, 0, 0);

    mFrame->setObjectName("m_boomFrame");
    mFrame->setStyleSheet("background-color: none;");
    mFrame->setAlignment(Qt::AlignHCenter);
    mFrame->setPixmap(QtImageTools::loadPixmap(":/images/BoomFrame.svg", GuiGeometry::boomViewStripSize(), false,
                                               Qt::IgnoreAspectRatio));

    QHBoxLayout* row = new QHBoxLayout;
    row->setSpacing(GuiGeometry::spacing1());
    row->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < SymbolCount; ++i) {
        mLabels[i] = new QLabel(this);
        mLabels[i]->setObjectName(QStringLiteral("m_section%1").arg(i + 1));
        mLabels[i]->setStyleSheet("background-color: none;");
        row->addWidget(mLabels[i], 0);
    }

    QVBoxLayout* layout = new QVBoxLayout;
    layout->setSpacing(GuiGeometry::spacing1());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mFrame);
    layout->addLayout(row);
    setLayout(layout);

    EvSignal::EventSignals* hub = EvSignal::EventSignals::instance();
    connect(hub, &EvSignal::EventSignals::boomSectionsChanged, this, &BoomViewWidget::boomSectionsChanged);
    connect(hub, &EvSignal::EventSignals::activeSectionStatusChanged, this, &BoomViewWidget::sectionStatusChanged);
    connect(hub, &EvSignal::EventSignals::isSpraying, this, &BoomViewWidget::workStatusChanged);

    // Rendering the symbols takes tens of milliseconds: done here, not when spraying starts.
    mSections = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    prepareSymbols();
}

void BoomViewWidget::prepareSymbols()
{
    const QString colour = activeColour();
    const QSize size = sectionImageSize(mSections);
    if (colour == mSymbolColour && size == mSymbolSize)
        return;
    mSymbolColour = colour;
    mSymbolSize = size;
    mActive = QtImageTools::loadPixmap(symbolPath(colour, "Active"), size, false, Qt::IgnoreAspectRatio);
    mInactive = QtImageTools::loadPixmap(symbolPath(colour, "Inactive"), size, false, Qt::IgnoreAspectRatio);
    mClosed = QtImageTools::loadPixmap(symbolPath(colour, "Closed"), size, false, Qt::IgnoreAspectRatio);
}

BoomViewWidget::~BoomViewWidget() = default;

QSize BoomViewWidget::sectionImageSize(int sections)
{
    const QSize symbol = GuiGeometry::boomSectionSize();
    if (sections == 0)
        return symbol;
    const int gaps = (sections + 1) * GuiGeometry::scale(2);
    return QSize((GuiGeometry::screenWidth() - gaps) / sections, symbol.height());
}

QString BoomViewWidget::colourName(uint32_t code)
{
    switch (code) {
    case 1: return QStringLiteral("Lilac");
    case 2: return QStringLiteral("Orange");
    case 3: return QStringLiteral("Green");
    case 4: return QStringLiteral("Yellow");
    case 5: return QStringLiteral("Purple");
    case 6: return QStringLiteral("Blue");
    case 8: return QStringLiteral("Red");
    case 9: return QStringLiteral("Brown");
    case 10: return QStringLiteral("Grey");
    case 11: return QStringLiteral("White");
    case 12: return QStringLiteral("LightBlue");
    case 13: return QStringLiteral("LightGreen");
    case 15: return QStringLiteral("Beige");
    case 16: return QStringLiteral("Olivegreen");
    // 7 purple red, 14 black and 17 to 19 have no pictures of their own.
    default: return QStringLiteral("Black");
    }
}

QString BoomViewWidget::symbolPath(const QString& colour, const QString& state)
{
    return QStringLiteral(":/images/SprayNozzle") + colour + state + QStringLiteral(".svg");
}

QLabel* BoomViewWidget::sectionLabel(int section) const
{
    return section >= 1 && section <= SymbolCount ? mLabels[section - 1] : nullptr;
}

// The capacity colour of the active preset's nozzle (nozpresetSizeCode is the
// core's name for the preset's capacity colour code).
QString BoomViewWidget::activeColour() const
{
    return colourName(nozpresetSizeCode(datastoreGetUint16(DS_CURRENT_TIP_PRESET)));
}

void BoomViewWidget::showSectionCount()
{
    for (int i = 0; i < SymbolCount; ++i)
        mLabels[i]->setVisible(mSections >= i + 1);
}

void BoomViewWidget::boomSectionsChanged(uint16_t sections)
{
    mSections = sections;
    showSectionCount();
    prepareSymbols();
}

void BoomViewWidget::drawSectionStates()
{
    prepareSymbols();
    for (int i = 0; i < SymbolCount; ++i)
        mLabels[i]->setPixmap((mMask & (1u << i)) != 0 ? mActive : mInactive);
}

void BoomViewWidget::sectionStatusChanged(uint32_t mask)
{
    mMask = mask;
    if (!isVisible() || !mSpraying)
        return;
    drawSectionStates();
}

void BoomViewWidget::workStatusChanged(bool on)
{
    mSpraying = on;
    if (!isVisible())
        return;
    if (!on) {
        prepareSymbols();
        for (QLabel* label : mLabels)
            label->setPixmap(mClosed);
        return;
    }
    drawSectionStates();
}

void BoomViewWidget::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        workStatusChanged(mSpraying);
        mRedrawNeeded = true;
    }
    mSections = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    showSectionCount();
    BackgroundWidget::showEvent(event);
}

void BoomViewWidget::timedUpdate()
{
    const bool spraying = datastoreGetBool(DS_SPRAYING_ACTIVE) != 0;
    const int preset = datastoreGetUint16(DS_CURRENT_TIP_PRESET);
    if (mSpraying == spraying && !mRedrawNeeded && mDrawnPreset == preset)
        return;
    mRedrawNeeded = false;
    mDrawnPreset = preset;
    workStatusChanged(spraying);
}
