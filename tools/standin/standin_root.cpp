#include "standin_root.h"

#include "standin_board.h"
#include "standin_can.h"
#include "standin_devices.h"
#include "toolsmisc.h"

bool standinCreateRoot(const std::string& dir)
{
    static const char* const directories[] = {
        "/usr/local/velmar", "/media", "/dev", "/sys/class/gpio",
        "/sys/class/hwmon/hwmon1/device", "/run/can", "/var/log", "/etc", "/tmp",
    };
    bool ok = makeDirs(dir);
    for (const char* sub : directories)
        ok = makeDirs(dir + sub) && ok;
    ok = standinCreateBoard(dir) && ok;
    ok = standinCreateCan(dir) && ok;
    ok = standinCreateDevices(dir) && ok;
    return ok;
}
