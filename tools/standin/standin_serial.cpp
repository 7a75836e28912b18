#include "standin_serial.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
bool openPort(int* master, int* slave, std::string* slavePath)
{
    *master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (*master < 0)
        return false;
    char name[128];
    if (::grantpt(*master) != 0 || ::unlockpt(*master) != 0 ||
        ::ptsname_r(*master, name, sizeof name) != 0)
        return false;
    *slavePath = name;
    *slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (*slave < 0)
        return false;
    struct termios settings;
    if (::tcgetattr(*slave, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    return ::tcsetattr(*slave, TCSANOW, &settings) == 0;
}
}  // namespace

StandinSerial::~StandinSerial()
{
    close();
}

bool StandinSerial::create(const std::string& root)
{
    close();
    bool ok = true;
    for (int port = 0; port < kPorts; ++port) {
        if (!openPort(&mMaster[port], &mSlave[port], &mSlavePath[port])) {
            ok = false;
            continue;
        }
        const std::string link = root + "/dev/ttyO" + std::to_string(port);
        ::unlink(link.c_str());
        if (::symlink(mSlavePath[port].c_str(), link.c_str()) != 0)
            ok = false;
    }
    if (!ok)
        close();
    return ok;
}

void StandinSerial::close()
{
    for (int port = 0; port < kPorts; ++port) {
        if (mSlave[port] >= 0)
            ::close(mSlave[port]);
        if (mMaster[port] >= 0)
            ::close(mMaster[port]);
        mSlave[port] = mMaster[port] = -1;
        mSlavePath[port].clear();
    }
}

int StandinSerial::master(int port) const
{
    return port >= 0 && port < kPorts ? mMaster[port] : -1;
}

const std::string& StandinSerial::slavePath(int port) const
{
    static const std::string none;
    return port >= 0 && port < kPorts ? mSlavePath[port] : none;
}
