#pragma once
// Which console hardware benchtest runs on, from the "Platform=" line of the
// product file that the system image carries.

// Platform number 1..9, 0 when none was recognised. The file is read once per
// process; later calls return the cached number.
int readPlatform();

// Name of platform 1..9 (nullptr for any other number).
const char* benchPlatformName(int platform);

// Forgets the cached number, so that the next readPlatform reads the file again.
void benchPlatformForget();
