#include "modalpopups.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

namespace ModalPopups {

namespace {

const char* const kMarker = "modalPopup";

}  // namespace

void makeWindow(QWidget* widget)
{
    widget->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    widget->setWindowModality(Qt::ApplicationModal);
    widget->setProperty(kMarker, true);
}

int cancelAll()
{
    int open = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || !window->property(kMarker).toBool())
            continue;
        ++open;
        window->close();
    }
    return open;
}

}  // namespace ModalPopups
