#include "configoemimplparam2.h"

#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "dsvcappl.h"
#include "guigeometry.h"
#include "qtimagetools.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace ToolsViewWidgets {

namespace {

enum Help { SwitchHelp = 0, PairHelp = 1 };

constexpr int kSwitches = 9;
constexpr int kPairs = ConfigOemImplParam2::MapEntries - 1;
constexpr int kFirstPairedCount = kSwitches + 1;

// The stored section count, as far as a map reaches: an imported configuration
// may hold more sections than the 13 entries of a map.
int sectionCount()
{
    return std::min<int>(datastoreGetUint16(DS_NUMBER_OF_SECTIONS), ConfigOemImplParam2::MapEntries);
}

// The map item of a section count: 10, 11, 12 and any other.
uint32_t mapItemFor(int sections)
{
    switch (sections) {
    case 10:
        return DS_SECTION_SWITCH_MAP_1;
    case 11:
        return DS_SECTION_SWITCH_MAP_2;
    case 12:
        return DS_SECTION_SWITCH_MAP_3;
    default:
        return DS_SECTION_SWITCH_MAP_4;
    }
}

const uint32_t* factoryMapFor(int sections)
{
    return dsvcapplSectionMaps[mapItemFor(sections) - DS_SECTION_SWITCH_MAP_1];
}

// Rows shown and pairs offered for the section count.
int rowsFor(int sections)
{
    return sections >= kFirstPairedCount && sections < ConfigOemImplParam2::MapEntries ? sections - kSwitches
                                                                                       : ConfigOemImplParam2::RowCount;
}

int pairsFor(int sections)
{
    return sections >= kFirstPairedCount && sections < ConfigOemImplParam2::MapEntries ? sections - 1 : kPairs;
}

// The header buttons keep their fixed width: a long name is written smaller.
void fitText(KestromPushButton* button)
{
    button->setStyleSheet(QString());
    button->ensurePolished();
    QFont font = button->font();
    const bool inPixels = font.pixelSize() > 0;
    const qreal original = inPixels ? font.pixelSize() : font.pointSizeF();
    const qreal smallest = original / 2;
    const int room = button->minimumWidth() - 12;
    qreal size = original;
    while (size > smallest && QFontMetrics(font).horizontalAdvance(button->text()) > room) {
        size -= inPixels ? 1.0 : 0.5;
        if (inPixels)
            font.setPixelSize(qRound(size));
        else
            font.setPointSizeF(size);
    }
    if (size != original)
        button->setStyleSheet(inPixels ? QStringLiteral("font-size: %1px;").arg(qRound(size))
                                       : QStringLiteral("font-size: %1pt;").arg(size));
}

QString switchText(int choice)
{
    return QStringLiteral("#%L1").arg(choice + 1);
}

QString pairText(int choice)
{
    return QStringLiteral("%L1+%L2").arg(choice + 1).arg(choice + 2);
}

}  // namespace

ConfigOemImplParam2::ConfigOemImplParam2(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConfigOemImplParam2"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigOemImplParam2::handleButtonBarPressed);

    // Fixed pixel sizes: the five lines must fit the page at any scale.
    const QSize buttonSize(180, 43);
    QGridLayout* grid = mKit->rowGrid();
    mSwitchHeader = new KestromPushButton(SwitchHelp, this);
    mPairHeader = new KestromPushButton(PairHelp, this);
    QLabel* headerArrow = new QLabel(QStringLiteral("->"), this);
    grid->addWidget(mSwitchHeader, 0, 0, Qt::AlignCenter);
    headerArrow->setAlignment(Qt::AlignCenter);
    grid->addWidget(headerArrow, 0, 1);
    grid->addWidget(mPairHeader, 0, 2, Qt::AlignCenter);
    for (KestromPushButton* header : {mSwitchHeader, mPairHeader}) {
        header->setProperty("hasBorder", true);
        header->setMinimumSize(buttonSize);
        connect(header, &KestromPushButton::takeAction, this, &ConfigOemImplParam2::showHelp);
    }
    for (int row = 0; row < RowCount; ++row) {
        mSwitchButtons[row] = new KestromPushButton(row, this);
        mPairButtons[row] = new KestromPushButton(row, this);
        mArrows[row] = new QLabel(QStringLiteral("->"), this);
        mSwitchButtons[row]->setObjectName(QStringLiteral("m_btnSwitch%1").arg(row + 1));
        mPairButtons[row]->setObjectName(QStringLiteral("m_btnPair%1").arg(row + 1));
        for (KestromPushButton* button : {mSwitchButtons[row], mPairButtons[row]}) {
            button->setProperty("hasBorder", true);
            button->setMinimumSize(buttonSize);
        }
        grid->addWidget(mSwitchButtons[row], row + 1, 0, Qt::AlignCenter);
        mArrows[row]->setAlignment(Qt::AlignCenter);
        grid->addWidget(mArrows[row], row + 1, 1);
        grid->addWidget(mPairButtons[row], row + 1, 2, Qt::AlignCenter);
    }
    grid->setColumnStretch(0, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 5);
    grid->setVerticalSpacing(2);
    connect(mSwitchButtons[0], &KestromPushButton::takeAction, this, &ConfigOemImplParam2::editPhysSecSwitchSelection1);
    connect(mSwitchButtons[1], &KestromPushButton::takeAction, this, &ConfigOemImplParam2::editPhysSecSwitchSelection2);
    connect(mSwitchButtons[2], &KestromPushButton::takeAction, this, &ConfigOemImplParam2::editPhysSecSwitchSelection3);
    connect(mSwitchButtons[3], &KestromPushButton::takeAction, this, &ConfigOemImplParam2::editPhysSecSwitchSelection4);
    connect(mPairButtons[0], &KestromPushButton::takeAction, this, &ConfigOemImplParam2::editSectionPairSelection1);
    connect(mPairButtons[1], &KestromPushButton::takeAction, this, &ConfigOemImplParam2::editSectionPairSelection2);
    connect(mPairButtons[2], &KestromPushButton::takeAction, this, &ConfigOemImplParam2::editSectionPairSelection3);
    connect(mPairButtons[3], &KestromPushButton::takeAction, this, &ConfigOemImplParam2::editSectionPairSelection4);

    mSwitchGrid = mKit->addGrid();
    for (int id = 0; id < kSwitches; ++id)
        mKit->addOption(mSwitchGrid, id, switchText(id))->setMinimumSize(GuiGeometry::iconSize90());
    mKit->layOutOptions(mSwitchGrid);
    mPairGrid = mKit->addGrid();
    connect(mSwitchGrid, &ButtonGridWidget::commitSelection, this, &ConfigOemImplParam2::commitPhysSecSwitchSelection);
    connect(mPairGrid, &ButtonGridWidget::commitSelection, this, &ConfigOemImplParam2::commitSectionPairSelection);

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    setUpForSectionCount();
    retranslate();
}

ConfigOemImplParam2::~ConfigOemImplParam2() = default;

void ConfigOemImplParam2::setUpForSectionCount()
{
    const int sections = sectionCount();
    const int rows = rowsFor(sections);
    for (int row = 0; row < RowCount; ++row) {
        mSwitchButtons[row]->setVisible(row < rows);
        mArrows[row]->setVisible(row < rows);
        mPairButtons[row]->setVisible(row < rows);
    }
    mKit->clearOptions(mPairGrid);
    for (int id = 0; id < pairsFor(sections); ++id)
        mKit->addOption(mPairGrid, id, pairText(id))->setMinimumSize(GuiGeometry::iconSize90());
    mKit->layOutOptions(mPairGrid);
    readStoredMap();
}

void ConfigOemImplParam2::readStoredMap()
{
    datastoreGetData(mapItemFor(sectionCount()), mMap);
    refreshRows();
}

void ConfigOemImplParam2::refreshRows()
{
    int row = 0;
    for (int i = 0; i + 1 < MapEntries && row < RowCount; ++i) {
        if (mMap[i] != mMap[i + 1])
            continue;
        mSwitchChoice[row] = mMap[i] - 1;
        mPairChoice[row] = i;
        mSwitchButtons[row]->setText(switchText(mSwitchChoice[row]));
        mPairButtons[row]->setText(pairText(mPairChoice[row]));
        ++row;
    }
}

void ConfigOemImplParam2::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"),
                      tr("Implement Parameters (2)", "pathway text")});
    mSwitchHeader->setText(tr("Physical Section Switch Number", "setting label"));
    mPairHeader->setText(tr("Paired Sections", "setting label"));
    fitText(mSwitchHeader);
    fitText(mPairHeader);
    readStoredMap();
}

void ConfigOemImplParam2::editSwitch(int row)
{
    mEditedRow = row;
    mKit->openGrid(mSwitchGrid, mSwitchChoice[row], this, &ConfigOemImplParam2::commitPhysSecSwitchSelection);
}

void ConfigOemImplParam2::editPair(int row)
{
    mEditedRow = row;
    mKit->openGrid(mPairGrid, mPairChoice[row], this, &ConfigOemImplParam2::commitSectionPairSelection);
}

void ConfigOemImplParam2::editPhysSecSwitchSelection1() { editSwitch(0); }
void ConfigOemImplParam2::editPhysSecSwitchSelection2() { editSwitch(1); }
void ConfigOemImplParam2::editPhysSecSwitchSelection3() { editSwitch(2); }
void ConfigOemImplParam2::editPhysSecSwitchSelection4() { editSwitch(3); }
void ConfigOemImplParam2::editSectionPairSelection1() { editPair(0); }
void ConfigOemImplParam2::editSectionPairSelection2() { editPair(1); }
void ConfigOemImplParam2::editSectionPairSelection3() { editPair(2); }
void ConfigOemImplParam2::editSectionPairSelection4() { editPair(3); }

void ConfigOemImplParam2::commitPhysSecSwitchSelection(int id)
{
    mSwitchChoice[mEditedRow] = id;
    mSwitchButtons[mEditedRow]->setText(switchText(id));
}

void ConfigOemImplParam2::commitSectionPairSelection(int id)
{
    mPairChoice[mEditedRow] = id;
    mPairButtons[mEditedRow]->setText(pairText(id));
}

bool ConfigOemImplParam2::ValidateSettings()
{
    const int sections = sectionCount();
    int32_t map[MapEntries];
    std::fill(std::begin(map), std::end(map), kSwitches);
    int switchCount = 0;
    int i = 0;
    while (i < sections) {
        // The first row whose pair starts at or after i decides; past every pair
        // the remaining sections go one to a switch.
        int pairRow = -1;
        bool single = false;
        for (int row = 0; row < RowCount; ++row) {
            if (i < mPairChoice[row]) {
                single = true;
                break;
            }
            if (i == mPairChoice[row]) {
                pairRow = row;
                break;
            }
        }
        if (pairRow >= 0) {
            map[i] = mSwitchChoice[pairRow] + 1;
            if (i + 1 < MapEntries)
                map[i + 1] = mSwitchChoice[pairRow] + 1;
            ++switchCount;
            i += 2;
        } else if (single || switchCount <= kSwitches - 1) {
            map[i] = ++switchCount;
            ++i;
        } else {
            ++i;
        }
    }

    bool valid = true;
    for (int s = 0; s + 1 < sections; ++s) {
        if (map[s] > map[s + 1]) {
            configurationInvalid();
            valid = false;
            break;
        }
    }
    for (int s = 0; s < sections; ++s) {
        if (std::count(map, map + sections, map[s]) > 2) {
            configurationInvalid();
            valid = false;
            break;
        }
    }
    if (valid)
        std::memcpy(mMap, map, sizeof mMap);
    return valid;
}

bool ConfigOemImplParam2::ChangeSettings()
{
    int32_t stored[MapEntries];
    datastoreGetData(mapItemFor(sectionCount()), stored);
    if (std::memcmp(stored, mMap, sizeof mMap) != 0) {
        confirmConfiguration();
        return false;
    }
    return true;
}

void ConfigOemImplParam2::confirmConfiguration()
{
    CPopupQuery* query = CPopupQuery::askYesNoWithIcon(
        tr("Confirm Configuration", "definition header"),
        tr("Keep and save the new physical switch to section pair configuration?", "Confirm Configuration definition"),
        QtImageTools::loadPixmap(":/images/msg_warning.svg", GuiGeometry::iconSize30(), false, Qt::KeepAspectRatio));
    connect(query, &CPopupQuery::ResponseReceived, this, &ConfigOemImplParam2::responseYesNoClickedConfirm);
}

void ConfigOemImplParam2::configurationInvalid()
{
    CPopupQuery* query = CPopupQuery::askYesNoWithIcon(
        tr("Invalid Configuration", "definition header"),
        tr("The new configuration of physical switches to section pairs is invalid! \n\nRestore to factory settings?",
           "Invalid Configuration definition"),
        QtImageTools::loadPixmap(":/images/msg_warning.svg", GuiGeometry::iconSize30(), false, Qt::KeepAspectRatio));
    connect(query, &CPopupQuery::ResponseReceived, this, &ConfigOemImplParam2::responseYesNoClickedInvalid);
}

void ConfigOemImplParam2::responseYesNoClickedConfirm(CPopupQuery*, int answer)
{
    if (answer == 1)
        datastoreSetData(mapItemFor(sectionCount()), mMap);
}

void ConfigOemImplParam2::responseYesNoClickedInvalid(CPopupQuery*, int answer)
{
    if (answer != 1)
        return;
    const uint32_t* factory = factoryMapFor(sectionCount());
    for (int i = 0; i < MapEntries; ++i)
        mMap[i] = static_cast<int32_t>(factory[i]);
    refreshRows();
}

void ConfigOemImplParam2::showHelp(int id)
{
    if (id == SwitchHelp) {
        SettingPageKit::showHelp(tr("Physical Section Switch Number", "definition header"),
                                 tr("Select the physical section switch for controlling the paired sections.",
                                    "Physical Section Switch Number definition"));
    } else if (id == PairHelp) {
        SettingPageKit::showHelp(tr("Paired Sections", "definition header"),
                                 tr("Select the two paired sections controlled by the selected physical section "
                                    "switch. Sections are numbered from left to right while facing in the "
                                    "machine's forward direction.",
                                    "Paired sections definition."));
    } else {
        SettingPageKit::showHelp(QString(), QString());
    }
}

void ConfigOemImplParam2::handleButtonBarPressed(int id)
{
    if (!ValidateSettings() || !ChangeSettings())
        return;
    SettingPageKit::navigatePair(this, id);
}

void ConfigOemImplParam2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (SettingPageKit::programCaused(event))
        setUpForSectionCount();
}

void ConfigOemImplParam2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
