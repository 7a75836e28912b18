#include "overlaystyle.h"

#include "cformwidget.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "qtimagetools.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QStyleOption>
#include <QVariant>

namespace OverlayStyle {

namespace {

QPixmap popupIcon(const char* path)
{
    static const QSize size = GuiGeometry::iconSize30();
    return QtImageTools::loadPixmap(path, size, false, Qt::KeepAspectRatio);
}

}  // namespace

FormMetrics formMetrics(QWidget* form)
{
    static const QSize minimum = GuiGeometry::popupOffset();
    static const QSize maximum = GuiGeometry::designScreenSize();
    form->setMinimumSize(minimum);
    form->setMaximumSize(maximum);
    return FormMetrics{10, 10};
}

void styleForm(QWidget* form)
{
    form->setProperty("hasBackground", true);
    form->setProperty("hasHighlightedBorder", true);
}

void styleTitleLabel(QLabel* label)
{
    QFont font = label->font();
    font.setWeight(75);
    label->setFont(font);
    label->setWordWrap(false);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

void styleTextLabel(QLabel* label)
{
    static const QSize maximum = GuiGeometry::scaledSize(480, 272);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setMaximumSize(maximum);
    label->setMinimumSize(2 * maximum.width() / 3, 10);
}

KestromPushButton* createFormButton(CFormWidget* form, int id)
{
    static const QSize size = GuiGeometry::popupButtonSize();
    KestromPushButton* button = new KestromPushButton(id, form);
    button->setFixedSize(size);
    return button;
}

void paintStyledBackground(QWidget* widget)
{
    QStyleOption option;
    option.initFrom(widget);
    QPainter painter(widget);
    widget->style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, widget);
}

QPixmap errorIcon()
{
    return popupIcon(":/images/msg_error.svg");
}

QPixmap warningIcon()
{
    return popupIcon(":/images/msg_warning.svg");
}

QPixmap informationIcon()
{
    return popupIcon(":/images/msg_information.svg");
}

}  // namespace OverlayStyle
