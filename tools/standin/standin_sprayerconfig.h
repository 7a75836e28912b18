#pragma once
// The installer's configuration that matches the stand-in sprayer: the
// configuration data file that the console reads on its very first start
// (usr/local/velmar/share/config/cfgfile.xml below the root), holding the
// sprayer's section count, nozzles, speed and flow calibrations, pressure
// sensor, and its valves: the regulating valve's type and travel time and
// whether the sections have calibrated returns. Without it a fresh console keeps its factory defaults (no speed
// calibration), and so would not see the tractor move.
#include "standin_sprayer.h"

#include <string>

std::string sprayerConfigPath(const std::string& root);

// The file's text for the setup.
std::string sprayerConfigText(const SprayerSetup& setup);

// Writes the file unless one is already there; true when it is there afterwards.
bool sprayerWriteConfig(const std::string& root, const SprayerSetup& setup);
