#include "guigeometry.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include <cstdlib>
#include <cstring>

namespace GuiGeometry {

namespace {

struct Display {
    DisplayType type;
    int width;
    int height;
    int aspect;
};

const Display kTypes[] = {
    {0, 320, 240, 1}, {1, 400, 300, 1}, {2, 640, 480, 1},
    {3, 480, 272, 4}, {4, 800, 480, 4}, {5, 800, 600, 1},
};
const int kTypeCount = sizeof(kTypes) / sizeof(kTypes[0]);

const float kRatios[] = {4.0f / 3.0f, 3.0f / 2.0f, 16.0f / 10.0f, 16.0f / 9.0f};

Display design = kTypes[0];
Display current = kTypes[0];
float factorX = 1.0f;
float factorY = 1.0f;
float factorUniform = 1.0f;
bool initialised = false;

bool validType(DisplayType type)
{
    return type >= 0 && type < kTypeCount;
}

int scaleBy(float factor, int v)
{
    const float product = static_cast<float>(v) * factor;
    return static_cast<int>(static_cast<double>(product) + 0.5);
}

QMargins margins(int v)
{
    return QMargins(v, v, v, v);
}

}  // namespace

float aspectRatio(int aspectCode)
{
    if (aspectCode >= 1 && aspectCode <= 4)
        return kRatios[aspectCode - 1];
    return 1.0f;
}

void updateScaleFactors()
{
    factorX = static_cast<float>(current.width) / static_cast<float>(design.width);
    factorY = static_cast<float>(current.height) / static_cast<float>(design.height);
    factorUniform = factorX < factorY ? factorX : factorY;
}

void setDesignType(DisplayType type)
{
    if (validType(type))
        design = kTypes[type];
    updateScaleFactors();
}

void setDisplayType(DisplayType type)
{
    if (validType(type))
        current = kTypes[type];
    updateScaleFactors();
    initialised = true;
}

void setDisplaySize(int width, int height, int aspectCode)
{
    for (const Display& row : kTypes) {
        if (row.width == width && row.height == height && row.aspect == aspectCode) {
            setDisplayType(row.type);
            return;
        }
    }
    current = Display{DisplayCustom, width, height, aspectCode};
    const float ratio = aspectRatio(aspectCode);
    if (static_cast<float>(height) < static_cast<float>(width) / ratio)
        current.width = static_cast<int>(static_cast<float>(height) * ratio);
    else if (static_cast<float>(width) < static_cast<float>(height) * ratio)
        current.height = static_cast<int>(static_cast<float>(width) / ratio);
    updateScaleFactors();
    initialised = true;
}

bool displayTypeFromEnvironment()
{
    static const struct {
        const char* name;
        DisplayType type;
    } kNames[] = {{"qvga", 0}, {"vga", 2}, {"hsvga", 1}, {"hvga", 3}, {"wvga", 4}, {"svga", 5}};
    const char* value = std::getenv("RZ_DISPLAY");
    if (value == nullptr)
        return false;
    for (const auto& entry : kNames) {
        if (std::strcmp(value, entry.name) == 0) {
            setDisplayType(entry.type);
            return true;
        }
    }
    return false;
}

void ensureInitialised()
{
    if (initialised)
        return;
    if (!displayTypeFromEnvironment()) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        const QRect screen = primary ? primary->geometry() : QRect(0, 0, design.width, design.height);
        setDisplaySize(screen.width(), screen.height(), design.aspect);
    }
    initialised = true;
}

DisplayType displayType()
{
    ensureInitialised();
    return current.type;
}

int displayWidth()
{
    ensureInitialised();
    return current.width;
}

int displayHeight()
{
    ensureInitialised();
    return current.height;
}

int screenWidth()
{
    return displayWidth();
}

int screenHeight()
{
    return displayHeight();
}

float scaleFactorX()
{
    ensureInitialised();
    return factorX;
}

float scaleFactorY()
{
    ensureInitialised();
    return factorY;
}

float scaleFactor()
{
    ensureInitialised();
    return factorUniform;
}

int scaleX(int v)
{
    ensureInitialised();
    return scaleBy(factorX, v);
}

int scaleY(int v)
{
    ensureInitialised();
    return scaleBy(factorY, v);
}

int scale(int v)
{
    ensureInitialised();
    return scaleBy(factorUniform, v);
}

QSize scaledSize(int w, int h)
{
    return QSize(scaleX(w), scaleY(h));
}

QPoint centeredPosition(int w, int h)
{
    return QPoint((displayWidth() - w) / 2, (displayHeight() - h) / 2);
}

QMargins standardMargins() { return margins(scale(2)); }
QMargins keypadMargins() { return margins(scale(4)); }
int length50() { return scale(50); }
int screenshotButtonMargin() { return scale(3); }
int homeViewMargin() { return scale(40); }
int buttonGridMargin() { return scale(40); }
int keypadSpacing() { return scale(2); }
int spacing1() { return scale(1); }
int spacing2() { return scale(2); }
int buttonGridPageSize() { return scale(8); }
QSize designScreenSize() { return scaledSize(480, 272); }
QSize popupOffset() { return QSize(displayWidth() - scale(20), displayHeight() - scale(30)); }
QSize pageContentSize() { return QSize(displayWidth() - scale(100), displayHeight() - scale(2)); }
QSize fullPageSize() { return QSize(displayWidth() - scale(10), displayHeight() - scale(10)); }
QSize iconSize30() { return scaledSize(30, 30); }
QSize keypadButtonSize() { return scaledSize(50, 50); }
QSize menuButtonSize() { return scaledSize(130, 50); }
QSize settingButtonSize() { return scaledSize(190, 50); }
QSize homeViewButtonSize() { return scaledSize(90, 90); }
QSize homeViewIconSize() { return scaledSize(70, 70); }
QSize popupButtonSize() { return scaledSize(100, 50); }
QSize buttonBarIconSize() { return scaledSize(60, 60); }
QSize iconSize40() { return scaledSize(40, 40); }
QSize iconSize50() { return scaledSize(50, 50); }
QSize iconSize55() { return scaledSize(55, 55); }
QSize iconSize70() { return scaledSize(70, 70); }
QSize iconSize90() { return scaledSize(90, 90); }
QSize consoleCultureIconSize() { return scaledSize(50, 50); }

QSize boomViewSize() { return QSize(displayWidth(), displayHeight() / 7); }

QPoint boomViewPos()
{
    const QSize boom = boomViewSize();
    return QPoint((displayWidth() - boom.width()) / 2, displayHeight() - boom.height());
}

QSize boomViewStripSize() { return QSize(displayWidth(), scale(7)); }
QSize boomSectionSize() { return scaledSize(53, 30); }
QSize topInfoBarSize() { return QSize(displayWidth(), 2 * displayHeight() / 7); }
QPoint topInfoBarPos() { return QPoint((displayWidth() - boomViewSize().width()) / 2, 0); }

QSize topInfoBarFieldSize()
{
    const QSize bar = topInfoBarSize();
    return QSize(5 * bar.width() / 16, bar.height());
}

QSize dropletWidgetSize() { return QSize(displayWidth(), 2 * displayHeight() / 9); }

QPoint dropletWidgetPos()
{
    const QSize droplet = dropletWidgetSize();
    return QPoint((displayWidth() - droplet.width()) / 2,
                  boomViewPos().y() - (scale(5) + droplet.height()));
}

// Height left for the middle row of the working screen.
static int middleHeight()
{
    return displayHeight() -
           (topInfoBarSize().height() + dropletWidgetSize().height() + boomViewSize().height());
}

QSize sprayTankSize() { return QSize(displayWidth() / 3, middleHeight()); }

QPoint sprayTankPos()
{
    const QSize tank = sprayTankSize();
    return QPoint((displayWidth() - tank.width()) / 2,
                  boomViewPos().y() - (dropletWidgetSize().height() + tank.height()));
}

QSize nozzleInfoSize() { return QSize(4 * sprayTankPos().x() / 5, middleHeight()); }

QPoint nozzleInfoPos()
{
    return QPoint(0, boomViewPos().y() - (dropletWidgetSize().height() + sprayTankSize().height()));
}

QSize nozzleImageSize() { return scaledSize(65, 65); }
QSize workLabelSize() { return QSize(2 * sprayTankPos().x() / 5, sprayTankSize().height() / 3); }

QPoint workLabelPos()
{
    const QSize label = workLabelSize();
    return QPoint(sprayTankPos().x() - label.width(), (displayHeight() - label.height()) / 2);
}

QSize warningButtonSize()
{
    return QSize((displayWidth() - (sprayTankPos().x() + sprayTankSize().width())) / 2,
                 sprayTankSize().height() / 2);
}

QPoint warningButtonPos()
{
    return QPoint(sprayTankPos().x() + sprayTankSize().width(),
                  (displayHeight() - warningButtonSize().height()) / 2);
}

QSize warningIconSize() { return scaledSize(50, 50); }
QSize workToolBarSize() { return QSize(2 * displayWidth() / 3, 2 * displayHeight() / 3); }

QPoint workToolBarPos()
{
    const QSize bar = workToolBarSize();
    return QPoint(displayWidth() - bar.width() + scale(1), (displayHeight() - bar.height()) / 2);
}

QSize workToolButtonSize() { return scaledSize(80, 80); }
QSize workToolIconSize() { return scaledSize(70, 70); }

QSize workToolSmallIconSize()
{
    const QSize icon = workToolIconSize();
    return QSize(icon.width() / 2, icon.height() / 2);
}

QSize showToolBarButtonSize() { return scaledSize(70, 60); }

QPoint showToolBarButtonPos()
{
    const QSize button = showToolBarButtonSize();
    return QPoint(displayWidth() - button.width() + scale(3), (displayHeight() - button.height()) / 2);
}

QSize showToolBarIconSize() { return scaledSize(50, 50); }

}  // namespace GuiGeometry
