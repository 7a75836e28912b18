#pragma once
// The system root: CONSOLE_SYSROOT names a directory that stands in for "/".
// Every fixed absolute path the program opens (storage base, USB roots, device
// nodes, sysfs trees, fixed files under /etc and /tmp) is mapped through
// sysrootPath where its constant is defined. Paths handed over at run time by a
// user or a file are never mapped.
#include <string>

// True when CONSOLE_SYSROOT is set and non-empty.
bool sysrootActive();

// The root directory without a trailing '/', empty when not active.
std::string sysrootDir();

// Maps a fixed absolute path to the real one: unchanged without a system root,
// else the root followed by the path. Relative paths are returned unchanged.
std::string sysrootPath(const std::string& fixedPath);

// Re-reads CONSOLE_SYSROOT; tests call it after changing the variable.
void sysrootReload();
