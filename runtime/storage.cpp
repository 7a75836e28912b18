#include "storage.h"

#include "sysroot.h"
#include "toolsmisc.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
// Plain character constants: the logger asks for its directory while static
// objects may still be under construction.
constexpr const char* kRootBaseDir = "/usr/local/velmar";
constexpr const char* kPlatformName = "Kestrom";

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string instanceName()
{
    const std::string platform = clPlatformDir();
    const std::string base = clBaseDir();
    std::string name;
    if (startsWith(platform, base)) {
        if (platform.size() > base.size())
            name = platform.substr(base.size() + 1);
    } else if (!isAbsolutePath(platform)) {
        name = platform;
    } else {
        name = platform.substr(1);
    }
    return name.empty() ? "app" : name;
}
}  // namespace

std::string clBaseDir()
{
    if (::getuid() != 0) {
        // An empty HOME would put the storage below the working directory.
        const std::string home = environmentValue("HOME");
        if (!home.empty())
            return pathJoin(home, ".velmar");
    }
    return sysrootPath(kRootBaseDir);
}

std::string clBinDir() { return pathJoin(clBaseDir(), "bin"); }
std::string clSystemDir() { return pathJoin(clBaseDir(), "system"); }
std::string clShareDir() { return pathJoin(clBaseDir(), "share"); }
std::string clPlatformDir() { return pathJoin(clBaseDir(), kPlatformName); }
std::string clPlatformCfgDir() { return pathJoin(clPlatformDir(), "config"); }
std::string clPlatformDataDir() { return pathJoin(clPlatformDir(), "data"); }
std::string clPlatformWifiDir() { return pathJoin(clPlatformDir(), "wifi"); }
std::string clPlatformTransferDir() { return pathJoin(clPlatformDir(), "transfer"); }
std::string clPlatformHexfileDir() { return pathJoin(clPlatformDir(), "hexfile"); }

std::string clAuxDir()
{
    std::printf("clAuxDir is obsolete!!!, move aux dir to clStorageCfgDir()\n");
    std::fflush(stdout);
    return pathJoin(clPlatformDataDir(), "aux");
}

std::string clStorageDir() { return pathJoin(clBaseDir(), "storage"); }

std::string clStorageAppDir()
{
    static const std::string name = instanceName();
    return pathJoin(clStorageDir(), name);
}

std::string clStorageShareDir() { return pathJoin(clStorageDir(), "share"); }
std::string clStorageCfgDir() { return pathJoin(clStorageAppDir(), "config"); }
std::string clStorageDataDir() { return pathJoin(clStorageAppDir(), "data"); }
std::string clStorageDebugDir() { return pathJoin(clStorageAppDir(), "debug"); }
std::string clStorageLanguagesDir() { return pathJoin(clStorageAppDir(), "languages"); }
std::string clTaskDataDir() { return pathJoin(clStorageShareDir(), "TASKDATA"); }

std::string clNumberedCfgDir(int n)
{
    return stringPrintf("%s/S%04d", clPlatformCfgDir().c_str(), n);
}

std::string clGuidelinesFile() { return pathJoin(clStorageDataDir(), "guidelines.gln"); }
std::string clGuideCirclesFile() { return pathJoin(clPlatformDataDir(), "guidecircles.gln"); }
std::string clGuidePolygonsFile() { return pathJoin(clPlatformDataDir(), "guidepolygons.gln"); }
std::string clBoundariesFile() { return pathJoin(clPlatformDataDir(), "boundaries.bnd"); }
std::string clAppliedFile() { return pathJoin(clPlatformDataDir(), "applied.rcd"); }
std::string clQuadtreeFile() { return pathJoin(clPlatformDataDir(), "quadtree.dat"); }
std::string clLastRunFile() { return pathJoin(clPlatformDataDir(), "lastrun.txt"); }
std::string clSettingsDbFile() { return pathJoin(clStorageShareDir(), "settings.db"); }

std::string clGpsInfoDir()
{
    const std::string configured = environmentValue("GPS_INFO_FILES_DIRECTORY");
    if (!configured.empty())
        return configured;
    return pathJoin(clPlatformDataDir(), "rzgps");
}

std::string clGpsModelFile() { return pathJoin(clGpsInfoDir(), "model.inf"); }
std::string clGpsTypeFile() { return pathJoin(clGpsInfoDir(), "type.inf"); }
std::string clGpsFirmwareFile() { return pathJoin(clGpsInfoDir(), "firmware.inf"); }
std::string clPrebuildManifestFile() { return pathJoin(clBinDir(), "prebuild.manifest"); }
