#include "workingviewctrl.h"

#include "placeholderpage.h"

WorkingViewCtrl::WorkingViewCtrl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("WorkingViewCtrl"));
    layOutPlaceholderPage(this, tr("Operation"),
                          {{"homeButton", ":/images/home.svg", {}, [this] { emit ShowHomeView(); }},
                           {"fillButton", nullptr, tr("Fill"), [this] { emit ShowFillingView(); }}});
}
