#include "placeholderpage.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

void layOutPlaceholderPage(QWidget* page, const QString& title, const std::vector<PlaceholderButton>& buttons)
{
    auto* label = new QLabel(title, page);
    label->setAlignment(Qt::AlignCenter);
    auto* row = new QHBoxLayout;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const PlaceholderButton& b = buttons[i];
        auto* button = new KestromPushButton(static_cast<int>(i), page);
        button->setObjectName(QString::fromLatin1(b.objectName));
        if (b.icon != nullptr)
            button->setSvgIcon(b.icon, GuiGeometry::buttonBarIconSize());
        else
            button->setText(b.text);
        QObject::connect(button, &KestromPushButton::takeAction, page, b.action);
        row->addWidget(button);
        if (i == 0)
            row->addStretch(1);
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label, 1);
    layout->addLayout(row);
}
