// The tip series names that the nozzle pages, the working screen and the job
// parameters share: the plain name and the prefix of a size name.
#include "configmachineimplparamnozsetup.h"
#include "gui_test.h"
#include "noztables.h"

#include <doctest/doctest.h>

using ToolsViewWidgets::ConfigMachineImplParamNozSetup;

TEST_CASE("tip series names: plain on buttons, as a prefix before a size name")
{
    guiApplication();
    const struct {
        int series;
        const char* plain;
        const char* prefix;
    } cases[] = {
        {0, "Twin Fluid", "TF-"},
        {1, "General", "G-"},
        {2, "Standard Flat Fan", "SFF-"},
        {4, "Low Pressure Flat Fan", "LPFF-"},
        {11, "Off-Centre Flat Fan", "OFF-"},
        {35, "High Volume Flat Fan", "HVFF-"},
        {18, "User Tip", "User Tip"},
        {36, "User Tip", "User Tip"},
        {1000, "User Tip", "User Tip"},
        {-1, "User Tip", "User Tip"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.series);
        CHECK(ConfigMachineImplParamNozSetup::tipSeriesName(c.series, 1) == c.plain);
        CHECK(ConfigMachineImplParamNozSetup::tipSeriesName(c.series, 0) == c.prefix);
    }
    // Every other series is the catalogue's name.
    for (uint32_t series = 2; series < NOZZLE_TYPE_COUNT; ++series) {
        CAPTURE(series);
        CHECK(ConfigMachineImplParamNozSetup::tipSeriesName(static_cast<int>(series), 1) == nozzleSeriesName(series));
    }
}
