#pragma once
// Lays out a stand-in system root: the directories and device files that the
// console opens on the device, as plain files, so the same binaries run off the
// device. Each device family adds its part in its own standin_<family>.cpp.
#include <string>

// Creates the tree below dir (dir itself is created when missing). Returns true
// when every part was laid out. Safe to call again on an existing root.
bool standinCreateRoot(const std::string& dir);
