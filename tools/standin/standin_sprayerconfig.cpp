#include "standin_sprayerconfig.h"

#include "filedesc.h"
#include "toolsmisc.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

// Entry numbers of the console's configuration data file.
enum Entry : int {
    kPressureSensorPresent = 6,
    kRegValveType = 8,        // 1 in the return (bypass), 0 in the line (throttle)
    kSectionValveType = 9,    // 1 three-way valves with calibrated returns, 0 two-way
    kNumberOfSections = 13,
    kRegValveTime = 16,       // the valve's full travel, 0.1 s
    kMinRegVoltage = 17,      // the least drive of the valve's motor, 0.1 V
    kPressureSensorMax = 28,  // hundredths of a bar at the sensor's full scale
    kTipSpacing = 34,         // mm
    kSpeedCal = 37,           // pulses per 100 m
    kFlowCal = 38,            // pulses per 1000 l
    kSectionSwitches = 39,
    kSectionTips = 44,        // sub-parameter i: nozzles of section i
};

void param(std::ostringstream& out, int id, long value)
{
    out << "<PARAM>\n<ID>" << id << "</ID>\n<DATA>" << value << "</DATA>\n</PARAM>\n";
}

}  // namespace

std::string sprayerConfigPath(const std::string& root)
{
    return root + "/usr/local/velmar/share/config/cfgfile.xml";
}

std::string sprayerConfigText(const SprayerSetup& setup)
{
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<FILE>\n<HEADER>\n<VERSION>1.0.0</VERSION>\n"
           "<CONTENTS>VELMAR STANDARD CONFIGURATION DATA</CONTENTS>\n"
           "<DESCRIPTION_AT_MMI>Stand-in sprayer</DESCRIPTION_AT_MMI>\n</HEADER>\n"
           "<SUPPORTED_APPLICATIONS>\n<APPLICATION>\n<IMPLEMENT_NAME>KESTROM_SPRAYER</IMPLEMENT_NAME>\n"
           "<SYSTEM_DESCRIPTION>KESTROM</SYSTEM_DESCRIPTION>\n</APPLICATION>\n</SUPPORTED_APPLICATIONS>\n"
           "<SETUP>\n<INFO>\n<SETUP_VERSION>1.0.0</SETUP_VERSION>\n<CHANGE_ID>standin</CHANGE_ID>\n</INFO>\n";
    param(out, kPressureSensorPresent, 1);
    param(out, kRegValveType, setup.valveInReturn ? 1 : 0);
    param(out, kSectionValveType, setup.calibratedReturns ? 1 : 0);
    param(out, kNumberOfSections, setup.sections);
    param(out, kRegValveTime, std::clamp(std::lround(setup.valveTravelMs / 100.0), 10L, 600L));
    param(out, kMinRegVoltage, setup.valveMinDriveDecivolts);
    param(out, kPressureSensorMax, std::lround(setup.pressureFullScaleBar * 100.0));
    param(out, kTipSpacing, setup.nozzleSpacingMm);
    param(out, kSpeedCal, std::lround(setup.speedPulsesPer100m));
    param(out, kFlowCal, std::lround(setup.flowPulsesPerLitre * 1000.0));
    param(out, kSectionSwitches, 9);
    out << "<PARAM>\n<ID>" << kSectionTips << "</ID>\n";
    for (uint32_t section = 1; section <= setup.sections; ++section)
        out << "<SUB_PARAM>\n<ID>" << section << "</ID>\n<DATA>" << setup.nozzlesPerSection
            << "</DATA>\n</SUB_PARAM>\n";
    out << "</PARAM>\n</SETUP>\n</FILE>\n";
    return out.str();
}

bool sprayerWriteConfig(const std::string& root, const SprayerSetup& setup)
{
    const std::string path = sprayerConfigPath(root);
    return isRegularFile(path) || fileReplace(path, sprayerConfigText(setup));
}
