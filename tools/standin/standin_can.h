#pragma once
// The CAN bus directories of a stand-in root: run/can/<interface>/ for every
// interface the socketcan driver can name (can0..can11, vcan0..vcan3). Each
// socket of an interface binds its own file in that directory.
#include <string>

bool standinCreateCan(const std::string& dir);

// The bus directory of one interface below the root dir.
std::string standinCanDir(const std::string& dir, const std::string& interfaceName);
