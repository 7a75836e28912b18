#include "guiarbitrator.h"

#include "alarmpopuplistener.h"
#include "coverlaymanager.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "homeviewctrl.h"
#include "toolsviewconfigfilling.h"
#include "toolsviewconfigfilling2.h"
#include "toolsviewconfiguration.h"
#include "toolsviewconsole.h"
#include "toolsviewdata.h"
#include "toolsviewmisc.h"
#include "workingviewctrl.h"

#include <QStackedWidget>
#include <QVariant>
#include <QVBoxLayout>

namespace {
// DS_PAGE_MODE values the arbitrator writes.
constexpr uint16_t pageModeWorking = 0;
constexpr uint16_t pageModeHome = 4;
}  // namespace

GuiArbitrator::GuiArbitrator(QWidget* parent) : QWidget(parent)
{
    using namespace ToolsViewWidgets;
    setContentsMargins(0, 0, 0, 0);
    setProperty("hasBackground", true);
    move(0, 0);
    resize(GuiGeometry::screenWidth(), GuiGeometry::screenHeight());

    workingView = new WorkingViewCtrl(this);
    fillingPage1 = new ToolsViewConfigFilling(this, false);
    fillingPage2 = new ToolsViewConfigFilling2(this, false);
    homeView = new HomeViewCtrl(this);
    settingsMenu = new ToolsViewConfiguration;
    dataMenu = new ToolsViewData;
    consoleMenu = new ToolsViewConsole;
    toolsMenu = new ToolsViewMisc;

    connect(workingView, &WorkingViewCtrl::ShowHomeView, this, &GuiArbitrator::showHomeView);
    connect(workingView, &WorkingViewCtrl::ShowFillingView, this, &GuiArbitrator::showFillingView);
    connect(fillingPage1, &ToolsViewConfigFilling::goBack, this, &GuiArbitrator::showWorkView);
    connect(fillingPage1, &ToolsViewConfigFilling::nextPage, this, &GuiArbitrator::showNextPage);
    connect(fillingPage2, &ToolsViewConfigFilling2::goBack, this, &GuiArbitrator::showWorkView);
    connect(fillingPage2, &ToolsViewConfigFilling2::nextPage, this, &GuiArbitrator::showNextPage);
    connect(settingsMenu, &ToolsViewConfiguration::ShowHomeView, this, &GuiArbitrator::showHomeView);
    connect(dataMenu, &ToolsViewData::ShowHomeView, this, &GuiArbitrator::showHomeView);
    connect(consoleMenu, &ToolsViewConsole::ShowHomeView, this, &GuiArbitrator::showHomeView);
    connect(toolsMenu, &ToolsViewMisc::ShowHomeView, this, &GuiArbitrator::showHomeView);
    connect(homeView, &HomeViewCtrl::ShowSelectedView, this, &GuiArbitrator::showSelectedPage);

    viewStack = new QStackedWidget;
    viewStack->addWidget(homeView);
    viewStack->addWidget(workingView);
    viewStack->addWidget(settingsMenu);
    viewStack->addWidget(dataMenu);
    viewStack->addWidget(consoleMenu);
    viewStack->addWidget(toolsMenu);
    fillingPage1Index = viewStack->addWidget(fillingPage1);
    fillingPage2Index = viewStack->addWidget(fillingPage2);
    viewStack->setContentsMargins(0, 0, 0, 0);
    viewStack->setCurrentIndex(WorkingView);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(viewStack);
    setLayout(layout);

    QWidget* overlayArea = parentWidget();
    COverlayManager::createInstance(overlayArea);
    if (overlayArea != nullptr)
        COverlayManager::instance()->setArea(overlayArea->width(), overlayArea->height());
    KSMPopupListener::PopupListener::instance();
}

int GuiArbitrator::currentIndex() const
{
    return viewStack->currentIndex();
}

QWidget* GuiArbitrator::view(int index) const
{
    return viewStack->widget(index);
}

void GuiArbitrator::showHomeView()
{
    datastoreSetUint16(DS_PAGE_MODE, pageModeHome);
    viewStack->setCurrentIndex(HomeView);
}

void GuiArbitrator::showWorkView()
{
    datastoreSetUint16(DS_PAGE_MODE, pageModeWorking);
    viewStack->setCurrentIndex(WorkingView);
}

void GuiArbitrator::showFillingView()
{
    viewStack->setCurrentIndex(fillingPage1Index);
}

void GuiArbitrator::showSelectedPage(int id)
{
    if (id == WorkingView)
        datastoreSetUint16(DS_PAGE_MODE, pageModeWorking);
    viewStack->setCurrentIndex(id);
}

void GuiArbitrator::showNextPage()
{
    const int index = viewStack->currentIndex();
    if (index == fillingPage1Index)
        viewStack->setCurrentIndex(fillingPage2Index);
    else if (index == fillingPage2Index)
        viewStack->setCurrentIndex(fillingPage1Index);
}
