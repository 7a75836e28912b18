#pragma once
// Screen geometry: the display the screens were designed for, the display in
// use, and the standard sizes, margins and positions of the GUI, each given in
// design pixels and scaled to the display in use. GUI thread only.
#include <QMargins>
#include <QPoint>
#include <QSize>

namespace GuiGeometry {

// 0 qvga 320x240, 1 hsvga 400x300, 2 vga 640x480, 3 hvga 480x272 (the console's
// panel), 4 wvga 800x480, 5 svga 800x600, 6 any other (measured) size.
typedef int DisplayType;
enum : DisplayType { DisplayCustom = 6 };

// Width / height of an aspect code: 1 4:3, 2 3:2, 3 16:10, 4 16:9, else 1.0.
float aspectRatio(int aspectCode);

// Types 0 to 5 only; any other value leaves the display unchanged.
void setDesignType(DisplayType type);
// Types 0 to 5 only; marks the module initialised whatever the type.
void setDisplayType(DisplayType type);
// A size that matches a table row becomes that type; any other becomes type 6,
// cut to the largest rectangle of the aspect code's ratio.
void setDisplaySize(int width, int height, int aspectCode);
// Reads RZ_DISPLAY ("qvga", "hsvga", "vga", "hvga", "wvga", "svga", exact case).
bool displayTypeFromEnvironment();
// First-use set-up: RZ_DISPLAY, else the desktop's screen size.
void ensureInitialised();
void updateScaleFactors();

DisplayType displayType();
int displayWidth();
int displayHeight();
int screenWidth();
int screenHeight();
float scaleFactorX();
float scaleFactorY();
float scaleFactor();

int scaleX(int v);
int scaleY(int v);
int scale(int v);
QSize scaledSize(int w, int h);
// Top-left point that centres a w x h box on the display.
QPoint centeredPosition(int w, int h);

QMargins standardMargins();
QMargins keypadMargins();
int length50();
int screenshotButtonMargin();
int homeViewMargin();
int buttonGridMargin();
int keypadSpacing();
int spacing1();
int spacing2();
int buttonGridPageSize();
QSize designScreenSize();
QSize popupOffset();
QSize pageContentSize();
QSize fullPageSize();
QSize iconSize30();
QSize keypadButtonSize();
QSize menuButtonSize();
QSize settingButtonSize();
QSize homeViewButtonSize();
QSize homeViewIconSize();
QSize popupButtonSize();
QSize buttonBarIconSize();
QSize iconSize40();
QSize iconSize50();
QSize iconSize55();
QSize iconSize70();
QSize iconSize90();
QSize consoleCultureIconSize();
QSize boomViewSize();
QPoint boomViewPos();
QSize boomViewStripSize();
QSize boomSectionSize();
QSize topInfoBarSize();
QPoint topInfoBarPos();
QSize topInfoBarFieldSize();
QSize dropletWidgetSize();
QPoint dropletWidgetPos();
QSize sprayTankSize();
QPoint sprayTankPos();
QSize nozzleInfoSize();
QPoint nozzleInfoPos();
QSize nozzleImageSize();
QSize workLabelSize();
QPoint workLabelPos();
QSize warningButtonSize();
QPoint warningButtonPos();
QSize warningIconSize();
QSize workToolBarSize();
QPoint workToolBarPos();
QSize workToolButtonSize();
QSize workToolIconSize();
QSize workToolSmallIconSize();
QSize showToolBarButtonSize();
QPoint showToolBarButtonPos();
QSize showToolBarIconSize();

}  // namespace GuiGeometry
