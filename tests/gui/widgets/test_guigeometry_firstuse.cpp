// Nothing in this program sets a display: the first query decides.
#include "guigeometry.h"
#include "gui_test.h"
#include "test_capture.h"

#include <doctest/doctest.h>

#include <QRect>
#include <QScreen>

#include <cstdlib>
#include <string>

TEST_CASE("first use reads RZ_DISPLAY by its exact name, else the desktop's size")
{
    guiApplication();
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    struct Case {
        const char* value;  // nullptr: unset
        int width, height;  // -1: the desktop's size
    };
    const Case cases[] = {
        {"qvga", 320, 240}, {"hsvga", 400, 300}, {"vga", 640, 480}, {"hvga", 480, 272},
        {"wvga", 800, 480}, {"svga", 800, 600},  {"HVGA", -1, -1},  {"hvga ", -1, -1},
        {"", -1, -1},       {nullptr, -1, -1},
    };
    for (const Case& c : cases) {
        CAPTURE((c.value ? c.value : "(unset)"));
        // The module is set once per process: each case starts afresh in a child.
        std::string output;
        const int status = runInChild(
            [&c, desktop] {
                if (c.value)
                    setenv("RZ_DISPLAY", c.value, 1);
                else
                    unsetenv("RZ_DISPLAY");
                if (GuiGeometry::displayTypeFromEnvironment() != (c.width > 0))
                    return 1;
                const QSize expected = c.width > 0 ? QSize(c.width, c.height) : desktop.size();
                if (QSize(GuiGeometry::screenWidth(), GuiGeometry::screenHeight()) != expected)
                    return 2;
                // Initialised now: neither the environment nor the desktop is read again.
                setenv("RZ_DISPLAY", c.width == 320 ? "svga" : "qvga", 1);
                return QSize(GuiGeometry::screenWidth(), GuiGeometry::screenHeight()) == expected ? 0 : 3;
            },
            &output);
        CHECK(status == 0);
    }
    // The offscreen desktop is 800x600, which the 4:3 design aspect takes as type 5.
    CHECK(desktop.size() == QSize(800, 600));
}
