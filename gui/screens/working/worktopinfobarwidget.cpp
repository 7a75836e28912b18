#include "worktopinfobarwidget.h"

#include "buttongridwidget.h"
#include "clocktimer.h"
#include "datastore.h"
#include "debugout.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "pagevalues.h"
#include "processevent.h"
#include "toolsmisc.h"
#include "twostringpushbutton.h"
#include "unitquantities.h"
#include "units.h"
#include "workingresources.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>
#include <QVariant>

#include <algorithm>

namespace {

// The side fields and the centre values share one step table, the choice
// buttons another; the index is a digit overflow 0..2.
const char* const kFieldSteps[3] = {"xlarge", "xlarge-1", "xlarge-2"};
const char* const kChoiceSteps[3] = {"large", "large-1", "large-2"};
const int kChoiceKinds[6] = {0, 1, 2, 3, 4, 10};
// Capped kinds never show more than six digits.
const float kCap = 999999.4f;

bool nh3Mode()
{
    return datastoreGetBool(DS_NH3_MODE) != 0;
}

bool turfUnits()
{
    return datastoreGetBool(DS_TURF_UNITS) != 0;
}

bool spraying()
{
    return datastoreGetBool(DS_SPRAYING_ACTIVE) != 0;
}

// A display value divided by the quantity's display scale. Without a scale
// (an unknown quantity or unit system) the value is shown as it is rather than
// divided by 0.
double scaled(uint32_t q, int32_t display)
{
    const uint32_t scale = unitGetScale(q);
    return scale != 0 ? double(display) / double(scale) : double(display);
}

double itemDisplay(uint32_t q, uint32_t item)
{
    return scaled(q, unitBaseToDisplay(q, datastoreGetAsInt32(item)));
}

uint32_t rateItem(int number)
{
    switch (number) {
    case 2: return DS_APPL_RATE_2;
    case 3: return DS_APPL_RATE_3;
    default: return DS_APPL_RATE_1;
    }
}

struct KindValue {
    double value = 0.0;
    uint16_t decimals = 0;
    bool counted = false;
    bool capped = false;
};

KindValue kindValue(int kind)
{
    KindValue v;
    switch (kind) {
    case WorkTopInfoBarWidget::KindAmount: {
        const uint32_t q = nh3Mode() ? UQ_JOB_MASS : UQ_JOB_VOLUME;
        v.value = itemDisplay(q, DS_JOB_VOLUME);
        v.counted = v.capped = true;
        break;
    }
    case WorkTopInfoBarWidget::KindFlow:
        // DS_LIVE_AMOUNT is the core's name of the live flow item.
        v.value = itemDisplay(nh3Mode() ? UQ_MASS_FLOW : UQ_ACTUAL_FLOW, DS_LIVE_AMOUNT);
        v.decimals = uint16_t(unitGetDecimals(UQ_ACTUAL_FLOW));
        break;
    case WorkTopInfoBarWidget::KindPressure:
        v.value = scaled(UQ_ACTUAL_PRESSURE, unitGetItemValue(UQ_ACTUAL_PRESSURE));
        v.decimals = uint16_t(unitGetDecimals(UQ_ACTUAL_PRESSURE));
        break;
    case WorkTopInfoBarWidget::KindSpeed:
        v.value = scaled(UQ_ACTUAL_SPEED, unitGetItemValue(UQ_ACTUAL_SPEED));
        v.decimals = uint16_t(unitGetDecimals(UQ_ACTUAL_SPEED));
        break;
    case WorkTopInfoBarWidget::KindTargetRate:
        v.value = itemDisplay(WorkTopInfoBarWidget::rateQuantity(), DS_LIVE_TARGET_RATE);
        v.decimals = uint16_t(unitGetDecimals(WorkTopInfoBarWidget::rateQuantity()));
        v.counted = true;
        break;
    case WorkTopInfoBarWidget::KindActualRate: {
        // DS_LIVE_FLOW is the core's name of the actual rate item.
        const uint32_t q = nh3Mode() ? UQ_RATE_MASS : turfUnits() ? UQ_RATE_TURF : UQ_ACTUAL_RATE;
        v.value = itemDisplay(q, DS_LIVE_FLOW);
        v.decimals = uint16_t(unitGetDecimals(WorkTopInfoBarWidget::rateQuantity()));
        v.counted = true;
        // Within the smoothing band around the target the target is shown.
        const double target = kindValue(WorkTopInfoBarWidget::KindTargetRate).value;
        const float band = float(target) * float(datastoreGetUint16(DS_DISPLAY_RATE_SMOOTHING)) / 100.0f;
        if (v.value < target + band && v.value > target - band)
            v.value = target;
        break;
    }
    case WorkTopInfoBarWidget::KindRate1:
    case WorkTopInfoBarWidget::KindRate2:
    case WorkTopInfoBarWidget::KindRate3:
        v.value = itemDisplay(WorkTopInfoBarWidget::rateQuantity(), rateItem(kind - WorkTopInfoBarWidget::KindRate1 + 1));
        v.decimals = uint16_t(unitGetDecimals(WorkTopInfoBarWidget::rateQuantity()));
        v.counted = true;
        break;
    case WorkTopInfoBarWidget::KindJobNumber:
        v.value = double(datastoreGetUint16(DS_ACTIVE_JOB_NUMBER)) + 1.0;
        break;
    default: {
        const uint32_t q = turfUnits() ? UQ_AREA_TURF : UQ_JOB_AREA;
        v.value = itemDisplay(q, DS_JOB_AREA);
        v.decimals = uint16_t(unitGetDecimals(UQ_JOB_AREA));
        v.counted = v.capped = true;
        break;
    }
    }
    return v;
}

}  // namespace

WorkTopInfoBarWidget::WorkTopInfoBarWidget(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent),
      mRateGrid(new ButtonGridWidget(nullptr)),
      mKeypadButton(new KestromPushButton(KeypadButtonId, nullptr)),
      mLeftField(new TwoStringPushButton("xlarge", "medium", this)),
      mRightField(new TwoStringPushButton("xlarge", "medium", this)),
      mCentre(new QWidget(this)),
      mTargetValue(new KestromPushButton(mCentre)),
      mActualValue(new KestromPushButton(mCentre)),
      mUnit(new KestromPushButton(mCentre)),
      mModeIcon(new KestromPushButton(mCentre)),
      mKindGrid(new ButtonGridWidget(nullptr)),
      mTargetTimer(new ClockTimer(this))
{
    workingScreensInitResources();
    setProperty("fontsize", "xlarge");

    mRateGrid->setObjectName("m_rateChoiceGrid");
    mRateGrid->resize(GuiGeometry::fullPageSize());
    for (int i = 0; i < 3; ++i) {
        mRateButtons[i] = new TwoStringPushButton(i + 1, nullptr);
        mRateButtons[i]->setObjectName(QStringLiteral("m_rate%1").arg(i + 1));
        mRateButtons[i]->setMinimumSize(GuiGeometry::iconSize90());
        mRateGrid->addButton(mRateButtons[i]);
    }
    mKeypadButton->setObjectName("m_rateKeypadButton");
    mKeypadButton->setMinimumSize(GuiGeometry::iconSize90());
    mKeypadButton->setSvgIcon(":/images/keyboard.svg", GuiGeometry::iconSize70());
    mRateGrid->addButton(mKeypadButton);
    mRateGrid->layoutPage();

    mKeypad = new NumericKeypadWidget(QString(), nullptr);
    mKeypad->setObjectName("m_rateKeypad");
    mKeypad->resize(GuiGeometry::pageContentSize());
    updateRateChoices();

    mLeftField->setObjectName("m_leftField");
    mRightField->setObjectName("m_rightField");
    for (TwoStringPushButton* field : {mLeftField, mRightField}) {
        field->setProperty("fontsize", "xlarge");
        field->setMinimumSize(GuiGeometry::topInfoBarFieldSize());
    }

    mCentre->setObjectName("m_centre");
    mCentre->setProperty("hasBorder", true);
    mTargetValue->setObjectName("m_targetValue");
    mActualValue->setObjectName("m_actualValue");
    mUnit->setObjectName("m_unit");
    mModeIcon->setObjectName("m_modeIcon");
    for (KestromPushButton* button : {mTargetValue, mActualValue, mUnit, mModeIcon})
        button->setProperty("transparent", true);
    mTargetValue->setProperty("fontsize", kFieldSteps[0]);
    mActualValue->setProperty("fontsize", kFieldSteps[0]);
    mUnit->setProperty("fontsize", "medium");
    setModeIcon(true);

    QHBoxLayout* values = new QHBoxLayout;
    values->setSpacing(0);
    values->setContentsMargins(0, 0, 0, 0);
    values->addWidget(mTargetValue, 10);
    values->addWidget(mActualValue, 10);
    values->addWidget(mModeIcon, 0);
    QVBoxLayout* centre = new QVBoxLayout(mCentre);
    centre->setSpacing(0);
    centre->setContentsMargins(9, 0, 9, 0);
    centre->addSpacing(6);
    centre->addLayout(values);
    centre->addWidget(mUnit);
    mActualValue->hide();

    QHBoxLayout* row = new QHBoxLayout;
    row->addWidget(mLeftField);
    row->addWidget(mCentre);
    row->addWidget(mRightField);
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addLayout(row);

    mKindGrid->setObjectName("m_kindChoiceGrid");
    mKindGrid->resize(GuiGeometry::fullPageSize());
    for (int i = 0; i < 6; ++i) {
        mKindButtons[i] = new TwoStringPushButton(kChoiceKinds[i], nullptr);
        mKindButtons[i]->setObjectName(QStringLiteral("m_kind%1").arg(kChoiceKinds[i]));
        mKindButtons[i]->setMinimumSize(GuiGeometry::iconSize90());
        mKindGrid->addButton(mKindButtons[i]);
    }
    mKindGrid->layoutPage();

    mTargetTimer->setObjectName("m_targetTimer");
    connect(mTargetTimer, &ClockTimer::timeout, this, QOverload<>::of(&WorkTopInfoBarWidget::handleWorkStatusChanged));
    connect(mRateGrid, &ButtonGridWidget::commitSelection, this, &WorkTopInfoBarWidget::commitApplRateNumber);
    connect(mKeypadButton, &KestromPushButton::takeAction, this, &WorkTopInfoBarWidget::editApplRate);
    connect(mKeypad, &NumericKeypadWidget::commitValue, this, &WorkTopInfoBarWidget::commitApplRate);
    connect(mLeftField, &KestromPushButton::takeAction, this, &WorkTopInfoBarWidget::editTopInfoTypeLeft);
    connect(mRightField, &KestromPushButton::takeAction, this, &WorkTopInfoBarWidget::editTopInfoTypeRight);
    // The working screen tells its parts of the work state when it has that signal.
    if (parent != nullptr && parent->metaObject()->indexOfSignal("workStatusChanged(bool)") >= 0)
        connect(parent, SIGNAL(workStatusChanged(bool)), this, SLOT(handleWorkStatusChanged(bool)));
    for (KestromPushButton* button : {mTargetValue, mActualValue, mUnit, mModeIcon})
        connect(button, &KestromPushButton::takeAction, this, &WorkTopInfoBarWidget::editApplRateSelection);
    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::eventAlarmActivate, this,
            &WorkTopInfoBarWidget::handleAlarmActivate);

    updateValues();
    // The values refresh from construction on, not only from the first show.
    WidgetTimedFocusUpdateQt::showEvent(nullptr);
}

WorkTopInfoBarWidget::~WorkTopInfoBarWidget()
{
    // The pop-ups have no parent: the bar owns them, and the grids their options.
    delete mKeypad;
    delete mRateGrid;
    delete mKindGrid;
}

uint32_t WorkTopInfoBarWidget::rateQuantity()
{
    if (nh3Mode())
        return UQ_RATE_MASS;
    return turfUnits() ? UQ_RATE_TURF : UQ_TARGET_RATE;
}

QString WorkTopInfoBarWidget::fieldValueText(int kind, uint16_t width, uint16_t* overflow)
{
    KindValue v = kindValue(kind);
    if (v.counted && overflow != nullptr)
        *overflow = countDecimalDigits(v.value, &v.decimals, width, 2);
    if (v.capped && float(v.value) >= kCap)
        v.value = double(kCap);
    switch (kind) {
    case KindAmount:
        return tr("%1", "workscreen top info Amount value (no room for thousand separator, and has no decimals)")
            .arg(v.value, 0, 'f', v.decimals);
    case KindJobNumber:
        return QStringLiteral("%1").arg(qint64(v.value));
    case KindFlow:
        return tr("%L1", "workscreen top info Flow value").arg(v.value, 0, 'f', v.decimals);
    case KindPressure:
        return tr("%L1", "workscreen top info Pressure value").arg(v.value, 0, 'f', v.decimals);
    case KindSpeed:
        return tr("%L1", "workscreen top info Speed value").arg(v.value, 0, 'f', v.decimals);
    case KindTargetRate:
        return tr("%L1", "workscreen top info Target Application Rate value").arg(v.value, 0, 'f', v.decimals);
    case KindActualRate:
        return tr("%L1", "workscreen top info Actual Application Rate value").arg(v.value, 0, 'f', v.decimals);
    case KindRate1:
        return tr("%L1", "workscreen top info Application Rate no. 1 value").arg(v.value, 0, 'f', v.decimals);
    case KindRate2:
        return tr("%L1", "workscreen top info Application Rate no. 2 value").arg(v.value, 0, 'f', v.decimals);
    case KindRate3:
        return tr("%L1", "workscreen top info Application Rate no. 3 value").arg(v.value, 0, 'f', v.decimals);
    default:
        return tr("%L1", "workscreen top info Area value").arg(v.value, 0, 'f', v.decimals);
    }
}

QString WorkTopInfoBarWidget::fieldUnitText(int kind, bool onChoiceButton)
{
    const bool metric = unitGetSystem() == UNIT_SYSTEM_METRIC;
    switch (kind) {
    case KindAmount:
        if (nh3Mode())
            return metric ? tr("kg", "abbr for kilogram") : tr("lb", "abbr for pound");
        return metric ? tr("l", "abbr for liter") : tr("gal", "abbr for gallon");
    case KindFlow:
        if (nh3Mode())
            return metric ? tr("kg/min", "abbr for kilogram per minute") : tr("lb/min", "abbr for pounds per minute");
        return metric ? tr("l/min", "abbr for liters per minute") : tr("gal/min", "abbr for gallons per minute");
    case KindPressure:
        if (metric)
            return tr("bar", "metric pressure unit");
        return onChoiceButton ? tr("psi", " imperial/US pressure unit. abbr for pound per square inch")
                              : tr("psi", "imperial/US pressure unit. abbr for pound per square inch");
    case KindSpeed:
        return metric ? tr("km/h", "abbr for kilometers per hour") : tr("mph", "abbr for miles per hour");
    case KindTargetRate:
    case KindActualRate:
        if (metric)
            return nh3Mode() ? tr("kg/ha", "abbr for kilograms per hectare") : tr("l/ha", "abbr for liters per hectare");
        if (nh3Mode())
            return tr("lb/ac", "abbr for pounds per acre");
        return turfUnits() ? tr("gal/1000 sq ft", "abbr for gallons per 1000 square feet")
                           : tr("gal/ac", "abbr for gallons per acre");
    case KindJobNumber:
        return tr("Job#", "Abbr for Job Number. Limited to 7 characters therefore use translation for \'job\' where "
                          "necessary");
    default:
        if (metric)
            return tr("ha", "abbr for hectare");
        return turfUnits() ? tr("1000 sq ft", "abbr 1000 square feet") : tr("ac", "abbr for acre");
    }
}

QString WorkTopInfoBarWidget::rateUnitText(bool longForm)
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return longForm ? tr("liters/hectare") : tr("l/ha", "Abbr for liters per hectare");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        if (turfUnits())
            return longForm ? tr("gallons/1000 square feet")
                            : tr("gal/1000 sq ft", "Abbr for gallons per 1000 square feet");
        return longForm ? tr("gallons/acre") : tr("gal/ac", "Abbr for gallons per acre");
    default:
        return QString();
    }
}

void WorkTopInfoBarWidget::repolish(QWidget* widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

void WorkTopInfoBarWidget::updateLeftField(bool withUnit)
{
    uint16_t a = 0;
    uint16_t b = 0;
    uint16_t c = 0;
    const int kind = datastoreGetUint16(DS_TOP_INFO_LEFT);
    const QString text = fieldValueText(kind, 4, &a);
    const QString target = fieldValueText(KindTargetRate, 3, &b);
    const QString actual = fieldValueText(KindActualRate, 3, &c);
    mLeftOverflow = std::max({a, b, c});
    const int step = std::max(mLeftOverflow, mRightOverflow);
    mLeftField->setFirstText(text, kFieldSteps[step]);
    mTargetValue->setText(target);
    mActualValue->setText(actual);
    if (step != mCentreStep) {
        for (KestromPushButton* button : {mTargetValue, mActualValue}) {
            button->setProperty("fontsize", kFieldSteps[step]);
            repolish(button);
        }
        mCentreStep = step;
    }
    if (withUnit)
        mLeftField->setSecondText(fieldUnitText(kind));
}

void WorkTopInfoBarWidget::updateRightField(bool withUnit)
{
    uint16_t overflow = 0;
    const int kind = datastoreGetUint16(DS_TOP_INFO_RIGHT);
    const QString text = fieldValueText(kind, 4, &overflow);
    mRightOverflow = overflow;
    const int step = std::max(mRightOverflow, mLeftOverflow);
    mRightField->setFirstText(text, kFieldSteps[step]);
    if (withUnit)
        mRightField->setSecondText(fieldUnitText(kind));
}

void WorkTopInfoBarWidget::updateFieldChoices(bool withUnits)
{
    QString texts[6];
    uint16_t step = 0;
    for (int i = 0; i < 6; ++i) {
        uint16_t overflow = 0;
        texts[i] = fieldValueText(kChoiceKinds[i], 4, &overflow);
        step = std::max(step, overflow);
    }
    for (int i = 0; i < 6; ++i)
        mKindButtons[i]->setFirstText(texts[i], kChoiceSteps[step]);
    if (!withUnits)
        return;
    for (int i = 0; i < 6; ++i)
        mKindButtons[i]->setSecondText(fieldUnitText(kChoiceKinds[i], true), "medium");
    mUnit->setText(fieldUnitText(KindTargetRate));
}

void WorkTopInfoBarWidget::updateRateChoices()
{
    for (int n = 1; n <= 3; ++n) {
        uint16_t overflow = 0;
        const QString text = fieldValueText(KindRate1 + n - 1, 3, &overflow);
        mRateButtons[n - 1]->setFirstText(text, kChoiceSteps[overflow]);
        mRateButtons[n - 1]->setSecondText(rateUnitText(false), turfUnits() ? "small" : "medium");
    }
}

void WorkTopInfoBarWidget::timedUpdate()
{
    if (mTicks < 5) {
        ++mTicks;
        return;
    }
    mTicks = 0;
    updateFieldChoices(true);
    const bool spray = spraying();
    if (spray != mLastSpraying || (datastoreGetBool(DS_AUTOMATIC_REGULATION) != 0) != mAutomatic) {
        mLastSpraying = spray;
        handleWorkStatusChanged(spray);
    }
    handleEvent100ms();
}

void WorkTopInfoBarWidget::setModeIcon(bool automatic)
{
    mModeIcon->setSvgIcon(automatic ? ":/images/Target_icon.svg" : ":/images/hand_icon.svg", QSize(30, 30));
}

void WorkTopInfoBarWidget::handleWorkStatusChanged(bool spray)
{
    const bool automatic = datastoreGetBool(DS_AUTOMATIC_REGULATION) != 0;
    if (automatic != mAutomatic) {
        mAutomatic = automatic;
        setModeIcon(automatic);
    }
    if (spray) {
        if (mAutomatic)
            mModeIcon->hide();
        mTargetValue->hide();
        mActualValue->show();
    } else {
        mModeIcon->show();
        mTargetValue->show();
        mActualValue->hide();
    }
}

void WorkTopInfoBarWidget::handleWorkStatusChanged()
{
    handleWorkStatusChanged(spraying());
}

void WorkTopInfoBarWidget::handleEvent100ms()
{
    if (mGridOpen) {
        updateFieldChoices(false);
        return;
    }
    updateLeftField(false);
    updateRightField(false);
}

void WorkTopInfoBarWidget::updateValues()
{
    updateLeftField(true);
    updateRightField(true);
    updateFieldChoices(true);
}

// An alarm goes over everything: the open kind choice closes, and with it
// ends the grid-open state, so that the fields go on following their values
// (left open, they would stand still while the operator sprays).
void WorkTopInfoBarWidget::handleAlarmActivate(UINT16)
{
    if (mKindGrid->isVisible())
        mKindGrid->hide();
    mGridOpen = false;
}

void WorkTopInfoBarWidget::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    updateLeftField(true);
    updateRightField(true);
}

void WorkTopInfoBarWidget::editApplRateSelection()
{
    disconnect(mRateGrid, &ButtonGridWidget::commitSelection, nullptr, nullptr);
    mKeypadButton->setEnabled(!spraying());
    connect(mRateGrid, &ButtonGridWidget::commitSelection, this, &WorkTopInfoBarWidget::commitApplRateNumber);
    updateRateChoices();
    mRateGrid->setHighlightedButton(datastoreGetUint16(DS_APPL_RATE_NUMBER));
    mRateGrid->show();
    mRateGrid->move(GuiGeometry::centeredPosition(mRateGrid->width(), mRateGrid->height()));
}

void WorkTopInfoBarWidget::showTargetForAWhile()
{
    mModeIcon->show();
    mTargetValue->show();
    mActualValue->hide();
    mTargetTimer->start(3000);
}

void WorkTopInfoBarWidget::commitApplRateNumber(int number)
{
    if (number == KeypadButtonId)
        return;
    if (number != 2 && number != 3)
        number = 1;
    const uint16_t rate = datastoreGetUint16(rateItem(number));
    datastoreSetUint16(DS_APPL_RATE_NUMBER, uint16_t(number));
    debugPrintf(0, "TDR Target rate = %u (%ld)\r\n", unsigned(rate), long(rate));
    datastoreSetUint16(DS_TARGET_RATE, rate);
    eventPost(2, EV_SET_BOOST, 100);
    eventPost(2, EV_TARGET_RATE_CHANGED, rate);
    if (spraying())
        showTargetForAWhile();
    datastoreSetBool(DS_RATE_CHANGED_FLAG, 0);
    updateFieldChoices(true);
}

void WorkTopInfoBarWidget::editApplRate()
{
    disconnect(mKeypad, &NumericKeypadWidget::commitValue, nullptr, nullptr);
    const uint32_t q = rateQuantity();
    const uint32_t item = rateItem(datastoreGetUint16(DS_APPL_RATE_NUMBER));
    mKeypad->setValue(itemDisplay(q, item));
    const int32_t minimum = int32_t(datastoreGetMin(DS_LIVE_TARGET_RATE));
    int32_t maximum = int32_t(datastoreGetMax(DS_LIVE_TARGET_RATE));
    if (maximum <= 0)
        maximum = 65535;
    mKeypad->setRange(scaled(q, unitBaseToDisplay(q, minimum)), scaled(q, unitBaseToDisplay(q, maximum)),
                      int(unitGetDecimals(q)), rateUnitText(true));
    mKeypad->setTitle(tr("Application Rate (%1)", "keyboard header. %1 is the units.").arg(rateUnitText(false)));
    connect(mKeypad, &NumericKeypadWidget::commitValue, this, &WorkTopInfoBarWidget::commitApplRate);
    mKeypad->show();
    mKeypad->move(GuiGeometry::centeredPosition(mKeypad->width(), mKeypad->height()));
}

void WorkTopInfoBarWidget::commitApplRate(double value)
{
    // Truncated as the decimal number typed: 12.3 at scale 10 is 123, not 122.
    const int32_t base = PageValues::baseFromTyped(rateQuantity(), value);
    if (base != int32_t(datastoreGetUint16(DS_TARGET_RATE))) {
        const int number = datastoreGetUint16(DS_APPL_RATE_NUMBER);
        if (number >= 1 && number <= 3)
            datastoreSetUint16(rateItem(number), uint16_t(base));
        debugPrintf(0, "TDR Target rate = %ld\r\n", long(base));
        datastoreSetUint16(DS_TARGET_RATE, uint16_t(base));
        processEvent(EV_SET_BOOST, 100);
        eventPost(2, EV_TARGET_RATE_CHANGED, uint32_t(base));
        if (spraying())
            showTargetForAWhile();
        datastoreSetBool(DS_RATE_CHANGED_FLAG, 0);
    }
    updateFieldChoices(true);
}

void WorkTopInfoBarWidget::editKind(int kind, bool left)
{
    disconnect(mKindGrid, &ButtonGridWidget::commitSelection, nullptr, nullptr);
    if (left)
        connect(mKindGrid, &ButtonGridWidget::commitSelection, this, &WorkTopInfoBarWidget::commitTopInfoTypeLeft);
    else
        connect(mKindGrid, &ButtonGridWidget::commitSelection, this, &WorkTopInfoBarWidget::commitTopInfoTypeRight);
    updateFieldChoices(true);
    mKindGrid->setHighlightedButton(kind);
    mKindGrid->show();
    mKindGrid->move(GuiGeometry::centeredPosition(mKindGrid->width(), mKindGrid->height()));
    mGridOpen = true;
}

void WorkTopInfoBarWidget::editTopInfoTypeLeft()
{
    editKind(datastoreGetUint16(DS_TOP_INFO_LEFT), true);
}

void WorkTopInfoBarWidget::editTopInfoTypeRight()
{
    editKind(datastoreGetUint16(DS_TOP_INFO_RIGHT), false);
}

void WorkTopInfoBarWidget::commitTopInfoTypeLeft(int kind)
{
    datastoreSetUint16(DS_TOP_INFO_LEFT, uint16_t(kind));
    updateLeftField(true);
    mGridOpen = false;
}

void WorkTopInfoBarWidget::commitTopInfoTypeRight(int kind)
{
    datastoreSetUint16(DS_TOP_INFO_RIGHT, uint16_t(kind));
    updateRightField(true);
    mGridOpen = false;
}
