#pragma once
// Where the console keeps its files. Every directory and well-known file is
// derived from one base directory; no other module builds such paths itself.
// The functions only compute paths (clAuxDir also prints a warning): callers
// create the directories they need. Each call computes afresh, so a changed
// system root or HOME is seen at once.
#include "greyfellcommon.h"

#include <string>

// "/usr/local/velmar" (below the system root) for root or when HOME is unset,
// else "$HOME/.velmar".
std::string clBaseDir();
std::string clBinDir();
std::string clSystemDir();
std::string clShareDir();
std::string clPlatformDir();
std::string clPlatformCfgDir();
std::string clPlatformDataDir();
std::string clPlatformWifiDir();
std::string clPlatformTransferDir();
std::string clPlatformHexfileDir();
// Obsolete: prints a warning on every call.
std::string clAuxDir();
std::string clStorageDir();
std::string clStorageAppDir();
std::string clStorageShareDir();
std::string clStorageCfgDir();
std::string clStorageDataDir();
std::string clStorageDebugDir();
std::string clStorageLanguagesDir();
std::string clTaskDataDir();
// clPlatformCfgDir()/S followed by n with at least four digits.
std::string clNumberedCfgDir(int n);
std::string clGuidelinesFile();
std::string clGuideCirclesFile();
std::string clGuidePolygonsFile();
std::string clBoundariesFile();
std::string clAppliedFile();
std::string clQuadtreeFile();
std::string clLastRunFile();
std::string clSettingsDbFile();
// GPS_INFO_FILES_DIRECTORY when set, else clPlatformDataDir()/rzgps. An empty
// value counts as unset: it would put the GPS files below the working directory.
std::string clGpsInfoDir();
std::string clGpsModelFile();
std::string clGpsTypeFile();
std::string clGpsFirmwareFile();
std::string clPrebuildManifestFile();
