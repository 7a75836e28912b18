#include "benchplatform.h"

#include "sysroot.h"

#include <fstream>
#include <string>

namespace {

const char* const kProductFile = "/usr/local/velmar/system/product";

// Searched in this order as substrings of the line: no name contains an earlier one.
const char* const kNames[] = {"kestrom", "lumaro", "tessin",  "varnholt", "quillon",
                              "ostrand", "dravenna", "hestra", "morwick"};
constexpr int kCount = sizeof kNames / sizeof kNames[0];

bool gRead = false;
int gPlatform = 0;

int platformOfLine(const std::string& line)
{
    if (line.find("Platform=") == std::string::npos)
        return 0;
    for (int i = 0; i < kCount; ++i) {
        if (line.find(kNames[i]) != std::string::npos)
            return i + 1;
    }
    return 0;
}

}  // namespace

int readPlatform()
{
    if (gRead)
        return gPlatform;
    std::ifstream file(sysrootPath(kProductFile));
    std::string line;
    while (gPlatform == 0 && file.good() && std::getline(file, line))
        gPlatform = platformOfLine(line);
    gRead = true;
    return gPlatform;
}

const char* benchPlatformName(int platform)
{
    return platform >= 1 && platform <= kCount ? kNames[platform - 1] : nullptr;
}

void benchPlatformForget()
{
    gRead = false;
    gPlatform = 0;
}
