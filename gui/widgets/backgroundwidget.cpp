#include "backgroundwidget.h"

#include <QPainter>
#include <QStyleOption>

BackgroundWidget::BackgroundWidget(QWidget* parent) : WidgetTimedFocusUpdateQt(parent, Qt::WindowFlags())
{
}

void BackgroundWidget::paintEvent(QPaintEvent*)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
