#include "settingpagekit.h"

#include "cpopupmessage.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "greyfellcommon.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "textfit.h"
#include "thumbdrivewatcher.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QVariant>

namespace ToolsViewWidgets {

const char* const SettingPageKit::DefaultHelpIcon = ":/images/msg_information.svg";

KeypadSetting KeypadSetting::forQuantity(uint32_t q, const QString& longUnit)
{
    KeypadSetting setting;
    setting.value = PageValues::itemDisplayValue(q);
    setting.minimum = PageValues::itemDisplayMinimum(q);
    setting.maximum = PageValues::itemDisplayMaximum(q);
    setting.decimals = PageValues::decimals(q);
    setting.units = longUnit;
    return setting;
}

SettingPageKit::SettingPageKit(QWidget* page)
    : QObject(page), mPage(page), mPathway(new QtElidedLabel(Qt::ElideLeft, page)),
      mBar(new ToolsViewButtonBar(page)), mColumn(new QVBoxLayout), mRows(new QGridLayout)
{
    mPathway->setObjectName(QStringLiteral("m_pathwayLabel"));
    mPathway->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    // Short enough for the left column; the label cuts the text on the left.
    mPathway->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    static const char* const kBarNames[] = {"backButton", "nextButton", "homeButton"};
    for (int id = ToolsViewButtonBar::Back; id <= ToolsViewButtonBar::Home; ++id)
        if (KestromPushButton* button = barButton(id))
            button->setObjectName(QString::fromLatin1(kBarNames[id]));

    mRows->setContentsMargins(0, 0, 0, 0);
    mRows->setHorizontalSpacing(GuiGeometry::spacing1());
    mRows->setVerticalSpacing(GuiGeometry::spacing1());
    mRows->setColumnStretch(0, 2);
    mRows->setColumnStretch(1, 1);

    mColumn->setContentsMargins(0, 0, 0, 0);
    mColumn->setSpacing(GuiGeometry::spacing1());
    mColumn->addWidget(mPathway, 0, Qt::AlignTop);
    mColumn->addLayout(mRows);

    QHBoxLayout* frame = new QHBoxLayout;
    frame->setContentsMargins(GuiGeometry::standardMargins());
    frame->setSpacing(GuiGeometry::spacing1());
    frame->addLayout(mColumn, 7);
    frame->addWidget(mBar, 1);
    page->setLayout(frame);
}

KestromPushButton* SettingPageKit::barButton(int id) const
{
    for (KestromPushButton* button : mBar->findChildren<KestromPushButton*>())
        if (button->id() == id)
            return button;
    return nullptr;
}

QString SettingPageKit::pathwayText(const QStringList& parts)
{
    switch (parts.size()) {
    case 0:
        return QString();
    case 1:
        return parts.at(0);
    case 2:
        return QStringLiteral("%1->%2").arg(parts.at(0), parts.at(1));
    case 3:
        return QStringLiteral("%1->%2->%3").arg(parts.at(0), parts.at(1), parts.at(2));
    default:
        return QStringLiteral("...%1->%2").arg(parts.at(parts.size() - 2), parts.at(parts.size() - 1));
    }
}

void SettingPageKit::setPathway(const QStringList& parts)
{
    mPathway->setElidedText(pathwayText(parts));
}

KestromPushButton* SettingPageKit::makeLabelButton(int row, const char* icon)
{
    KestromPushButton* button = new KestromPushButton(row, mPage);
    button->setProperty("transparent", true);
    button->setStyleSheet(QStringLiteral("text-align: left"));
    if (icon != nullptr)
        button->setSvgIcon(icon, GuiGeometry::iconSize50());
    else
        button->setIconSize(GuiGeometry::iconSize50());
    button->setMinimumHeight(GuiGeometry::settingButtonSize().height());
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    keepTextFitted(button);
    mRows->addWidget(button, row, 0);
    return button;
}

KestromPushButton* SettingPageKit::makeMenuButton(int id, QWidget* parent, const char* objectName)
{
    KestromPushButton* button = new KestromPushButton(id, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setMinimumSize(GuiGeometry::menuButtonSize());
    keepTextFitted(button);
    return button;
}

KestromPushButton* SettingPageKit::makeMenuButton(QStackedWidget* stack, int index, QWidget* parent,
                                                  const char* objectName)
{
    KestromPushButton* button = makeMenuButton(index, parent, objectName);
    connect(button, &KestromPushButton::takeAction, stack, &QStackedWidget::setCurrentIndex);
    return button;
}

KestromPushButton* SettingPageKit::addValueButton(int row, const char* objectName)
{
    KestromPushButton* button = new KestromPushButton(row, mPage);
    if (objectName != nullptr)
        button->setObjectName(QString::fromLatin1(objectName));
    button->setProperty("hasBorder", true);
    button->setMinimumSize(GuiGeometry::settingButtonSize());
    keepTextFitted(button);
    addRowWidget(row, button);
    return button;
}

void SettingPageKit::addRowWidget(int row, QWidget* widget)
{
    mRows->addWidget(widget, row, 1);
}

QString SettingPageKit::valueText(const QString& format, double value, int decimals, const QString& unit)
{
    return format.arg(value, 0, 'f', decimals).arg(unit);
}

QString SettingPageKit::quantityText(const QString& format, uint32_t q, const QString& unit)
{
    return valueText(format, PageValues::itemDisplayValue(q), PageValues::decimals(q), unit);
}

QString SettingPageKit::percentText(const QString& format, double value)
{
    return format.arg(value, 0, 'f', 0);
}

NumericKeypadWidget* SettingPageKit::addKeypad()
{
    // A window of its own at the keypad's touchable size; the page only owns it.
    return new NumericKeypadWidget(QString(), mPage);
}

void SettingPageKit::prepareKeypad(NumericKeypadWidget* keypad, const KeypadSetting& setting)
{
    // Only the setting being edited may receive the commit. Only the commit:
    // Qt's own connections to the keypad (the style sheet's clean-up when it
    // is destroyed) must stay.
    disconnect(keypad, &NumericKeypadWidget::commitValue, nullptr, nullptr);
    keypad->setValue(setting.value);
    keypad->setRange(setting.minimum, setting.maximum, setting.decimals, setting.units);
    keypad->setTitle(setting.title);
}

ButtonGridWidget* SettingPageKit::addGrid()
{
    // A window of its own at the full-page size; the page only owns it.
    return new ButtonGridWidget(mPage);
}

KestromPushButton* SettingPageKit::addOption(ButtonGridWidget* grid, int id, const QString& text)
{
    KestromPushButton* button = new KestromPushButton(id, nullptr);
    button->setText(text);
    if (!grid->addButton(button))
        button->setParent(grid);  // refused (the grid is full): still owned
    return button;
}

void SettingPageKit::layOutOptions(ButtonGridWidget* grid)
{
    grid->layoutPage();
}

void SettingPageKit::clearOptions(ButtonGridWidget* grid)
{
    QList<KestromPushButton*> options;
    for (int page = 1; page <= grid->pageCount(); ++page)
        for (KestromPushButton* button : grid->pageButtons(page))
            if (button->id() != ButtonGridWidget::NextPageId)
                options.append(button);
    grid->clearButtons();
    qDeleteAll(options);
}

void SettingPageKit::showCentred(QWidget* editor)
{
    editor->show();
    editor->raise();
    const QPoint centred = GuiGeometry::centeredPosition(editor->width(), editor->height());
    const QPoint global = mPage->window()->mapToGlobal(centred);
    editor->move(editor->isWindow() ? global : editor->parentWidget()->mapFromGlobal(global));
}

CPopupMessage* SettingPageKit::showHelp(const QString& title, const QString& text)
{
    return CPopupMessage::showInformation(title, text);
}

CPopupMessage* SettingPageKit::showRangeHelp(const QString& title, const QString& text, double minimum,
                                             double maximum, int decimals, const QString& longUnit)
{
    return showHelp(title, text.arg(minimum, 0, 'f', decimals).arg(maximum, 0, 'f', decimals).arg(longUnit));
}

CPopupMessage* SettingPageKit::showResult(const QString& title, const QString& text)
{
    return CPopupMessage::information(title, text, 9, 3, 21, 0);
}

bool SettingPageKit::programCaused(const QEvent* event)
{
    return !event->spontaneous();
}

void SettingPageKit::setPageMode(uint16_t mode)
{
    datastoreSetUint16(DS_PAGE_MODE, mode);
}

void SettingPageKit::addUsbButton(QWidget* button)
{
    addUsbButton(button, nullptr);
}

void SettingPageKit::addUsbButton(QWidget* button, std::function<bool()> buttonCondition)
{
    if (mUsbWatcher == nullptr) {
        mUsbWatcher = new CThumbDriveWatcher(GreyfellCommon::usbRootPath().toStdString());
        mUsbWatcher->setParent(this);
        connect(mUsbWatcher, &CThumbDriveWatcher::Changed, this, &SettingPageKit::applyUsbState);
    }
    mUsbButtons.push_back({button, std::move(buttonCondition)});
    refreshUsbButtons();
}

void SettingPageKit::setUsbCondition(std::function<bool()> condition)
{
    mUsbCondition = std::move(condition);
    refreshUsbButtons();
}

bool SettingPageKit::usbPresent() const
{
    return mUsbWatcher != nullptr && mUsbWatcher->isPresent();
}

void SettingPageKit::refreshUsbButtons()
{
    applyUsbState(usbPresent());
}

void SettingPageKit::applyUsbState(bool present)
{
    const bool enabled = present && (!mUsbCondition || mUsbCondition());
    for (const UsbButton& usb : mUsbButtons)
        if (!usb.button.isNull())
            usb.button->setEnabled(enabled && (!usb.condition || usb.condition()));
}

void SettingPageKit::setLabelText(QAbstractButton* label, const QString& text)
{
    label->setText(text);
    keepTextFitted(label);
}

}  // namespace ToolsViewWidgets
