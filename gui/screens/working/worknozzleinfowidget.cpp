#include "worknozzleinfowidget.h"

#include "buttongridwidget.h"
#include "configmachineimplparamnozsetup.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventsignals.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "nozimage.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "processevent.h"
#include "qtimagetools.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVariant>
#include <QVBoxLayout>

namespace {

QString tipText(int series, int size)
{
    return ToolsViewWidgets::ConfigMachineImplParamNozSetup::tipSeriesName(series, 0) +
           QString::fromLatin1(nozinfoSizeName(static_cast<uint32_t>(series), static_cast<uint32_t>(size)));
}

QPixmap tipPicture(int series, int size, QSize pixels)
{
    return NozImage::NozzleImage::instance()->getNozzleImage(series, size, pixels);
}

}  // namespace

WorkNozzleInfoWidget::WorkNozzleInfoWidget(QWidget* parent)
    : BackgroundWidget(parent),
      mNameLabel(new QLabel(this)),
      mImageButton(new KestromPushButton(0, this)),
      mGrid(new ButtonGridWidget(nullptr))
{
    setObjectName(QStringLiteral("m_nozzleInfoView"));
    setContentsMargins(0, 0, 0, 0);
    NozImage::NozzleImage::instance();

    mNameLabel->setObjectName(QStringLiteral("m_nozzleName"));
    mNameLabel->setProperty("fontsize", "small");
    mNameLabel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    mNameLabel->setText(QStringLiteral("Tip"));

    mImageButton->setObjectName(QStringLiteral("m_nozzleImage"));
    mImageButton->setProperty("transparent", true);
    mImageButton->setIcon(QIcon(QtImageTools::loadPixmap(":/images/tip_unknown.svg", GuiGeometry::nozzleImageSize(),
                                                         false, Qt::KeepAspectRatio)));
    mImageButton->setIconSize(GuiGeometry::iconSize50());

    const QSize icon = GuiGeometry::iconSize70();
    mPresetImageSize = QSize(2 * icon.width() / 3, 2 * icon.height() / 3);
    mGrid->setObjectName(QStringLiteral("m_presetGrid"));
    mGrid->resize(GuiGeometry::fullPageSize());

    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    column->addWidget(mNameLabel, 0);
    column->addWidget(mImageButton, 10);
    auto* row = new QHBoxLayout(this);
    row->addLayout(column);

    for (int i = 0; i < PresetCount; ++i)
        initNozzleSelectButton(i);
    mGrid->layoutPage();

    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::isSpraying, this,
            &WorkNozzleInfoWidget::workStatusChanged);
    connect(mImageButton, &KestromPushButton::takeAction, this, &WorkNozzleInfoWidget::editNozzleType);
    connect(mGrid, &ButtonGridWidget::commitSelection, this, &WorkNozzleInfoWidget::commitNozzleType);
}

WorkNozzleInfoWidget::~WorkNozzleInfoWidget()
{
    delete mGrid;
}

QString WorkNozzleInfoWidget::getNozzleString(int preset)
{
    const uint32_t i = static_cast<uint32_t>(preset);
    return tipText(static_cast<int>(nozpresetGetNozzleType(i)), static_cast<int>(nozpresetGetNozzleSizeIx(i)));
}

void WorkNozzleInfoWidget::workStatusChanged(bool spraying)
{
    mSpraying = spraying;
}

void WorkNozzleInfoWidget::initNozzleSelectButton(int preset)
{
    if (preset < 0 || preset >= PresetCount)
        return;
    auto* button = new KestromPushButton(preset, nullptr);
    button->setObjectName(QStringLiteral("m_preset%1").arg(preset));
    const QSize icon = GuiGeometry::iconSize90();
    const QSize size(static_cast<int>(1.3 * icon.width()), icon.height());
    button->setMinimumSize(size);
    button->setIconSize(size);
    button->setContentsMargins(0, 0, 0, 0);

    PresetButton& record = mPresets[preset];
    record.button = button;
    record.series = static_cast<int>(nozpresetGetNozzleType(static_cast<uint32_t>(preset)));
    record.size = static_cast<int>(nozpresetGetNozzleSizeIx(static_cast<uint32_t>(preset)));
    record.name = new QLabel(tipText(record.series, record.size), button);
    record.name->setProperty("fontsize", "small");
    // A little air around the line: laid out at its bare height the text touches the edges.
    record.name->ensurePolished();
    record.name->setMinimumHeight(record.name->fontMetrics().height() + 2);
    record.image = new QLabel(button);
    record.image->setPixmap(tipPicture(record.series, record.size, mPresetImageSize));

    auto* box = new QVBoxLayout(button);
    box->setSpacing(0);
    box->setContentsMargins(0, 0, 0, 0);
    box->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    box->addStretch(1);
    box->addWidget(record.name, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    box->addWidget(record.image, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    box->addStretch(2);

    mGrid->addButton(button);
}

void WorkNozzleInfoWidget::updateNozzleSelectButtons()
{
    for (int i = 0; i < PresetCount; ++i) {
        PresetButton& record = mPresets[i];
        const int series = static_cast<int>(nozpresetGetNozzleType(static_cast<uint32_t>(i)));
        const int size = static_cast<int>(nozpresetGetNozzleSizeIx(static_cast<uint32_t>(i)));
        if (series == record.series && size == record.size)
            continue;
        record.series = series;
        record.size = size;
        record.name->setText(tipText(series, size));
        record.image->setPixmap(tipPicture(series, size, mPresetImageSize));
    }
}

void WorkNozzleInfoWidget::editNozzleType(int)
{
    if (mSpraying)
        return;
    // Only the grid's choices: its destroyed() also serves Qt's style-sheet cache.
    disconnect(mGrid, &ButtonGridWidget::commitSelection, nullptr, nullptr);
    updateNozzleSelectButtons();
    connect(mGrid, &ButtonGridWidget::commitSelection, this, &WorkNozzleInfoWidget::commitNozzleType);
    mGrid->setHighlightedButton(datastoreGetUint16(DS_CURRENT_TIP_PRESET));
    mGrid->show();
    // Centred on the screen: the offset of this widget in its page is taken out.
    mGrid->move(mapToGlobal(GuiGeometry::centeredPosition(mGrid->width(), mGrid->height() + 2 * y())));
}

void WorkNozzleInfoWidget::commitNozzleType(int preset)
{
    processEvent(EV_SELECT_NOZZLE_PRESET, static_cast<uint32_t>(preset));
    processEvent(EV_SET_EDIT_PRESET, static_cast<uint32_t>(preset));
}

void WorkNozzleInfoWidget::timedUpdate()
{
    const uint32_t preset = datastoreGetUint16(DS_CURRENT_TIP_PRESET);
    const int series = static_cast<int>(nozpresetGetNozzleType(preset));
    const int size = static_cast<int>(nozpresetGetNozzleSizeIx(preset));
    if (series == mSeries && size == mSize)
        return;
    mSeries = series;
    mSize = size;
    mNameLabel->setText(tipText(series, size));
    mImageButton->setIcon(QIcon(tipPicture(series, size, GuiGeometry::nozzleImageSize())));
    mImageButton->setIconSize(GuiGeometry::iconSize50());
}
