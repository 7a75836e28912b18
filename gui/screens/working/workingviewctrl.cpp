#include "workingviewctrl.h"

#include "placeholderpage.h"

WorkingViewCtrl::WorkingViewCtrl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("WorkingViewCtrl"));
    layOutPlaceholderPage(this, [this] { return tr("Operation"); },
                          {{"homeButton", ":/images/home.svg", {}, [this] { emit ShowHomeView(); }},
                           {"fillButton", nullptr, [this] { return tr("Fill"); }, [this] { emit ShowFillingView(); }}});
}
