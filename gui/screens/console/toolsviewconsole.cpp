#include "toolsviewconsole.h"

#include "cdebug.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "settingpagekit.h"
#include "toolsviewconsoleabout.h"
#include "toolsviewconsoleculture.h"
#include "toolsviewconsoledisplay.h"
#include "toolsviewconsoledisplay2.h"
#include "toolsviewconsolesound.h"

#include <QEvent>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ToolsViewConsole::ToolsViewConsole(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewConsole"));
    setContentsMargins(0, 0, 0, 0);
    mTopPage = new QWidget(this);
    mTopPage->setObjectName(QStringLiteral("m_consoleTopPage"));
    // Only home on the top page: the menu has no way back but home.
    mKit = new SettingPageKit(mTopPage);
    mKit->connectButtonBar(this, &ToolsViewConsole::handleButtonBarPressed);

    mDisplay = new ToolsViewConsoleDisplay(this);
    mDisplay2 = new ToolsViewConsoleDisplay2(this);
    mCulture = new ToolsViewConsoleCulture(this);
    mSound = new ToolsViewConsoleSound(this);
    mAbout = new ToolsViewConsoleAbout(this);
    bool pagesConnected = true;
    pagesConnected &= bool(connect(mDisplay, &ToolsViewConsoleDisplay::goBack, this, &ToolsViewConsole::showTopPage));
    pagesConnected &= bool(connect(mDisplay, &ToolsViewConsoleDisplay::ShowHomeView, this,
                                   &ToolsViewConsole::handleButtonBarPressed));
    pagesConnected &= bool(connect(mDisplay, &ToolsViewConsoleDisplay::nextPage, this, &ToolsViewConsole::showNextPage));
    pagesConnected &= bool(connect(mDisplay2, &ToolsViewConsoleDisplay2::goBack, this, &ToolsViewConsole::showTopPage));
    pagesConnected &= bool(connect(mDisplay2, &ToolsViewConsoleDisplay2::ShowHomeView, this,
                                   &ToolsViewConsole::handleButtonBarPressed));
    pagesConnected &=
        bool(connect(mDisplay2, &ToolsViewConsoleDisplay2::nextPage, this, &ToolsViewConsole::showNextPage));
    pagesConnected &= bool(connect(mCulture, &ToolsViewConsoleCulture::goBack, this, &ToolsViewConsole::showTopPage));
    pagesConnected &= bool(connect(mCulture, &ToolsViewConsoleCulture::ShowHomeView, this,
                                   &ToolsViewConsole::handleButtonBarPressed));
    pagesConnected &= bool(connect(mSound, &ToolsViewConsoleSound::goBack, this, &ToolsViewConsole::showTopPage));
    pagesConnected &= bool(connect(mSound, &ToolsViewConsoleSound::ShowHomeView, this,
                                   &ToolsViewConsole::handleButtonBarPressed));
    pagesConnected &= bool(connect(mAbout, &ToolsViewConsoleAbout::goBack, this, &ToolsViewConsole::showTopPage));
    pagesConnected &= bool(connect(mAbout, &ToolsViewConsoleAbout::ShowHomeView, this,
                                   &ToolsViewConsole::handleButtonBarPressed));

    mStack = new QStackedWidget(this);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->addWidget(mTopPage);
    mDisplayIndex = mStack->addWidget(mDisplay);
    mDisplay2Index = mStack->addWidget(mDisplay2);
    const int cultureIndex = mStack->addWidget(mCulture);
    const int aboutIndex = mStack->addWidget(mAbout);
    const int soundIndex = mStack->addWidget(mSound);
    mStack->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);

    auto makeButton = [this](int index, const char* name) {
        auto* button = new KestromPushButton(index, mTopPage);
        button->setObjectName(QString::fromLatin1(name));
        button->setMinimumSize(GuiGeometry::menuButtonSize());
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        return button;
    };
    mDisplayButton = makeButton(mDisplayIndex, "m_btnDisplay");
    mCultureButton = makeButton(cultureIndex, "m_btnCultural");
    mSoundButton = makeButton(soundIndex, "m_btnSound");
    mAboutButton = makeButton(aboutIndex, "m_btnAbout");
    const bool displayConnected =
        bool(connect(mDisplayButton, &KestromPushButton::takeAction, mStack, &QStackedWidget::setCurrentIndex));
    if (displayConnected && pagesConnected)
        CDEBUG_LOG(CDebugLevel::INF, "cDefault", "connecting m_btnDisplay to setCurrentIndex");
    else
        CDEBUG_LOG(CDebugLevel::FAT, "cDefault", "reason( okay ) - failed to connect m_btnDisplay to setCurrentIndex");
    bool othersConnected = true;
    for (KestromPushButton* button : {mCultureButton, mSoundButton, mAboutButton})
        othersConnected &= bool(connect(button, &KestromPushButton::takeAction, mStack, &QStackedWidget::setCurrentIndex));
    if (othersConnected)
        CDEBUG_LOG(CDebugLevel::INF, "cDefault", "connecting takeAction to setCurrentIndex");

    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mDisplayButton, 0, 0, Qt::AlignLeft);
    grid->addWidget(mCultureButton, 0, 1, Qt::AlignLeft);
    grid->addWidget(mSoundButton, 1, 0, Qt::AlignLeft);
    grid->addWidget(mAboutButton, 2, 0, Qt::AlignLeft);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);
    retranslate();
}

ToolsViewConsole::~ToolsViewConsole() = default;

void ToolsViewConsole::retranslate()
{
    mKit->setPathway({tr("Console Settings", "pathway text")});
    mDisplayButton->setText(tr("Display", "button"));
    mCultureButton->setText(tr("Cultural", "button"));
    mSoundButton->setText(tr("Sound", "button"));
    mAboutButton->setText(tr("About", "button"));
}

void ToolsViewConsole::showTopPage()
{
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "top page");
    mStack->setCurrentIndex(0);
}

void ToolsViewConsole::showNextPage()
{
    const int current = mStack->currentIndex();
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "index = %d, %d, %d", current, mDisplayIndex, mDisplay2Index);
    // The next button toggles between the two display pages.
    if (current == mDisplayIndex)
        mStack->setCurrentIndex(mDisplay2Index);
    else if (current == mDisplay2Index)
        mStack->setCurrentIndex(mDisplayIndex);
}

void ToolsViewConsole::handleButtonBarPressed(int id)
{
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "id = %d", id);
    if (id != ToolsViewButtonBar::Home)
        return;
    showTopPage();
    emit ShowHomeView();
}

void ToolsViewConsole::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
