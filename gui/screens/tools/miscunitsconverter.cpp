#include "miscunitsconverter.h"

#include "buttongridwidget.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QVariant>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

// F[from][to] of every kind, row by row: area 3 x 3, length 5 x 5, volume 3 x 3.
// The table is not symmetric; only F[from][to] is ever used.
const double kFactors[43] = {
    1.0, 0.40469, 4046.856422435462,
    2.47104, 1.0, 10000.0,
    0.000247105381465, 0.0001, 1.0,

    1.0, 12.0, 0.3048006096, 0.0001893939393939394, 0.0003048000001155303,
    0.08333333333333333, 1.0, 0.0254, 1.5782828282828283e-05, 2.5400000009627523e-05,
    3.280839895, 39.37007874, 1.0, 0.0006213711922348485, 0.001,
    5280.0, 63360.0, 1609.3440000064375, 1.0, 1.60934400061,
    3280.8398937695656, 39370.07872523479, 1000.0, 0.621371192, 1.0,

    1.0, 0.219969, 0.264172,
    4.546095131586724, 1.0, 1.2009510431015282,
    3.785412534257983, 0.8326734097481941, 1.0,
};

const int kUnitCounts[3] = {3, 5, 3};
const int kTableStart[3] = {0, 9, 34};
const int kDefaultUnits[3] = {1, 2, 0};

QString valueText(double value)
{
    return QStringLiteral("%1").arg(value, 0, 'g', 6);
}

}  // namespace

double MiscUnitsConverter::factor(int type, int from, int to)
{
    if (type < Area || type > Volume)
        return 1.0;
    const int n = kUnitCounts[type];
    if (from < 0 || from >= n || to < 0 || to >= n)
        return 1.0;
    return kFactors[kTableStart[type] + from * n + to];
}

int MiscUnitsConverter::unitCount(int type)
{
    return type >= Area && type <= Volume ? kUnitCounts[type] : 0;
}

int MiscUnitsConverter::defaultUnit(int type)
{
    return type >= Area && type <= Volume ? kDefaultUnits[type] : 0;
}

MiscUnitsConverter::MiscUnitsConverter(QWidget* parent) : QWidget(parent), mKit(new SettingPageKit(this))
{
    setObjectName(QStringLiteral("MiscUnitsConverter"));
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &MiscUnitsConverter::handleButtonBarPressed);

    mTypeButton = new KestromPushButton(this);
    mTypeButton->setObjectName(QStringLiteral("m_typeButton"));
    mTypeButton->setProperty("hasBorder", true);
    mTypeButton->setMinimumSize(GuiGeometry::settingButtonSize());
    connect(mTypeButton, &KestromPushButton::takeAction, this, &MiscUnitsConverter::editConvType);
    mTypeGrid = mKit->addGrid();
    mTypeGrid->resize(GuiGeometry::fullPageSize());

    buildSide(mFrom, "from");
    connect(mFrom.keyboard, &KestromPushButton::takeAction, this, &MiscUnitsConverter::editFromValue);
    connect(mFrom.unitButton, &KestromPushButton::takeAction, this, &MiscUnitsConverter::editFromUnit);
    buildSide(mTo, "to");
    connect(mTo.keyboard, &KestromPushButton::takeAction, this, &MiscUnitsConverter::editToValue);
    connect(mTo.unitButton, &KestromPushButton::takeAction, this, &MiscUnitsConverter::editToUnit);

    mKeypad = mKit->addKeypad();
    mKeypad->resize(GuiGeometry::pageContentSize());

    QGridLayout* grid = mKit->rowGrid();
    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 0);
    grid->addWidget(mTypeButton, 0, 0, 1, 3, Qt::AlignHCenter);
    grid->addWidget(mFrom.label, 1, 0, 1, 3);
    grid->addWidget(mFrom.keyboard, 2, 0);
    grid->addWidget(mFrom.display, 2, 1);
    grid->addWidget(mFrom.unitButton, 2, 2);
    grid->addWidget(mTo.label, 4, 0, 1, 3);
    grid->addWidget(mTo.keyboard, 5, 0);
    grid->addWidget(mTo.display, 5, 1);
    grid->addWidget(mTo.unitButton, 5, 2);
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);

    retranslate();
}

void MiscUnitsConverter::buildSide(Side& side, const char* name)
{
    const QString prefix = QStringLiteral("m_") + QString::fromLatin1(name);
    side.label = new QLabel(this);
    side.label->setObjectName(prefix + QStringLiteral("Label"));
    side.label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A whole line of the style sheet's font, however tight the page.
    side.label->ensurePolished();
    side.label->setMinimumHeight(side.label->fontMetrics().height() + 2);
    side.keyboard = new KestromPushButton(this);
    side.keyboard->setObjectName(prefix + QStringLiteral("KeyboardButton"));
    side.keyboard->setProperty("transparent", true);
    side.keyboard->setSvgIcon(":/images/keyboard.svg", GuiGeometry::iconSize50());
    side.display = new QLabel(this);
    side.display->setObjectName(QStringLiteral("m_settingDisplay"));
    side.display->setAccessibleName(prefix + QStringLiteral("Display"));
    side.display->setAlignment(Qt::AlignCenter);
    side.display->setProperty("hasBorder", true);
    side.display->setMinimumSize(GuiGeometry::menuButtonSize());
    side.display->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    side.unitButton = new KestromPushButton(this);
    side.unitButton->setObjectName(prefix + QStringLiteral("UnitButton"));
    side.unitButton->setProperty("hasBorder", true);
    side.unitButton->setMinimumSize(GuiGeometry::settingButtonSize());
    side.grid = mKit->addGrid();
    side.grid->resize(GuiGeometry::fullPageSize());
    for (KestromPushButton*& option : side.options) {
        option = new KestromPushButton(this);
        // The grid's own touchable size (a menu button): 90-unit-high options
        // would leave room for only two of them on a grid page.
        option->hide();
    }
}

QString MiscUnitsConverter::typeName(int type) const
{
    switch (type) {
    case Area:
        return tr("Area", "button");
    case Length:
        return tr("Length", "button");
    case Volume:
        return tr("Volume", "button");
    default:
        return QString();
    }
}

QString MiscUnitsConverter::unitName(int type, int unit) const
{
    switch (type * 10 + unit) {
    case 0: return tr("acres", "button");
    case 1: return tr("hectares", "button");
    case 2: return tr("square meters", "button");
    case 10: return tr("feet", "button");
    case 11: return tr("inches", "button");
    case 12: return tr("meters", "button");
    case 13: return tr("miles", "button");
    case 14: return tr("kilometers", "button");
    case 20: return tr("liters", "button");
    case 21: return tr("gallons (UK)", "button");
    case 22: return tr("gallons (US)", "button");
    default: return QString();
    }
}

QString MiscUnitsConverter::unitOptionName(int type, int unit) const
{
    switch (type * 10 + unit) {
    case 0: return tr("acres", "small button");
    case 1: return tr("hectares", "small button");
    case 2: return tr("square\nmeters", "small button");
    case 10: return tr("feet", "small button");
    case 11: return tr("inches", "small button");
    case 12: return tr("meters", "small button");
    case 13: return tr("miles", "small button");
    case 14: return tr("kilo-\nmeters", "small button");
    case 20: return tr("liters", "small button");
    case 21: return tr("gallons\n(UK)", "small button");
    case 22: return tr("gallons\n(US)", "small button");
    default: return QString();
    }
}

void MiscUnitsConverter::retranslate()
{
    mKit->setPathway({tr("Tools", "pathway text"), tr("Units Converter", "pathway text")});
    mFrom.label->setText(tr("From:", "setting label"));
    mTo.label->setText(tr("To:", "setting label"));
    populateTypeCombo();
    populateToUnitsCombo(mType);
    populateFromUnitsCombo(mType);
}

void MiscUnitsConverter::populateTypeCombo()
{
    // Built anew in the current language; the previous options go.
    mKit->clearOptions(mTypeGrid);
    for (int type = Area; type <= Volume; ++type) {
        const QString text = type == Area     ? tr("Area", "small button")
                             : type == Length ? tr("Length", "small button")
                                              : tr("Volume", "small button");
        mKit->addOption(mTypeGrid, type, text);
    }
    mKit->layOutOptions(mTypeGrid);
    mTypeButton->setText(typeName(mType));
}

void MiscUnitsConverter::editConvType()
{
    mKit->openGrid(mTypeGrid, mType, this, &MiscUnitsConverter::commitConvType);
}

void MiscUnitsConverter::commitConvType(int type)
{
    mType = type;
    mTypeButton->setText(typeName(type));
    populateFromUnitsCombo(type);
    populateToUnitsCombo(type);
}

void MiscUnitsConverter::populateUnits(Side& side, int type, int& unit, double& value)
{
    side.grid->clearButtons();
    for (KestromPushButton* option : side.options) {
        option->setParent(this);
        option->hide();
    }
    const int count = unitCount(type);
    for (int i = 0; i < count; ++i) {
        side.options[i]->setId(i);
        side.options[i]->setText(unitOptionName(type, i));
        side.grid->addButton(side.options[i]);
    }
    side.grid->layoutPage();
    unit = defaultUnit(type);
    value = 1.0;
    side.display->setText(valueText(value));
    side.unitButton->setText(unitName(type, unit));
}

void MiscUnitsConverter::populateFromUnitsCombo(int type)
{
    populateUnits(mFrom, type, mFromUnit, mFromValue);
}

void MiscUnitsConverter::populateToUnitsCombo(int type)
{
    populateUnits(mTo, type, mToUnit, mToValue);
}

void MiscUnitsConverter::openUnitGrid(Side& side, int current, void (MiscUnitsConverter::*commit)(int))
{
    disconnect(mFrom.grid, &ButtonGridWidget::commitSelection, nullptr, nullptr);
    disconnect(mTo.grid, &ButtonGridWidget::commitSelection, nullptr, nullptr);
    mKit->openGrid(side.grid, current, this, commit);
}

void MiscUnitsConverter::editFromUnit()
{
    openUnitGrid(mFrom, mFromUnit, &MiscUnitsConverter::commitFromUnit);
}

void MiscUnitsConverter::editToUnit()
{
    openUnitGrid(mTo, mToUnit, &MiscUnitsConverter::commitToUnit);
}

void MiscUnitsConverter::commitFromUnit(int unit)
{
    mFromUnit = unit;
    mFrom.unitButton->setText(unitName(mType, unit));
    calculateFromValue();
}

void MiscUnitsConverter::commitToUnit(int unit)
{
    mToUnit = unit;
    mTo.unitButton->setText(unitName(mType, unit));
    calculateToValue();
}

void MiscUnitsConverter::openKeypad(double value, void (MiscUnitsConverter::*commit)(double))
{
    // No range: every number the operator types converts, negative ones and 0 too.
    disconnect(mKeypad, &NumericKeypadWidget::commitValue, nullptr, nullptr);
    mKeypad->setValue(value);
    mKeypad->show();
    connect(mKeypad, &NumericKeypadWidget::commitValue, this, commit);
    mKeypad->raise();
    const QPoint centred = GuiGeometry::centeredPosition(mKeypad->width(), mKeypad->height());
    mKeypad->move(window()->mapToGlobal(centred));
}

void MiscUnitsConverter::editFromValue()
{
    openKeypad(mFromValue, &MiscUnitsConverter::commitFromValue);
}

void MiscUnitsConverter::editToValue()
{
    openKeypad(mToValue, &MiscUnitsConverter::commitToValue);
}

void MiscUnitsConverter::commitFromValue(double value)
{
    mFromValue = value;
    updateFromValueDisplay();
    calculateToValue();
}

void MiscUnitsConverter::commitToValue(double value)
{
    mToValue = value;
    updateToValueDisplay();
    calculateFromValue();
}

void MiscUnitsConverter::updateFromValueDisplay()
{
    mFrom.display->setText(valueText(mFromValue));
}

void MiscUnitsConverter::updateToValueDisplay()
{
    mTo.display->setText(valueText(mToValue));
}

void MiscUnitsConverter::calculateToValue()
{
    mToValue = mFromValue * factor(mType, mFromUnit, mToUnit);
    updateToValueDisplay();
}

void MiscUnitsConverter::calculateFromValue()
{
    mFromValue = mToValue * (1.0 / factor(mType, mFromUnit, mToUnit));
    updateFromValueDisplay();
}

void MiscUnitsConverter::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void MiscUnitsConverter::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
