#include "test_root.h"

#include "standin_root.h"
#include "sysroot.h"

#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

TestRoot::TestRoot()
{
    char pattern[] = "/tmp/consoleroot.XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    mDir = pattern;
    mPrevious = sysrootDir();
    if (!standinCreateRoot(mDir))
        throw std::runtime_error("stand-in root could not be laid out in " + mDir);
    setenv("CONSOLE_SYSROOT", mDir.c_str(), 1);
    sysrootReload();
}

TestRoot::~TestRoot()
{
    if (mPrevious.empty())
        unsetenv("CONSOLE_SYSROOT");
    else
        setenv("CONSOLE_SYSROOT", mPrevious.c_str(), 1);
    sysrootReload();
    removeTree(mDir);
}

NoSystemRoot::NoSystemRoot() : mPrevious(sysrootDir())
{
    unsetenv("CONSOLE_SYSROOT");
    sysrootReload();
}

NoSystemRoot::~NoSystemRoot()
{
    if (!mPrevious.empty())
        setenv("CONSOLE_SYSROOT", mPrevious.c_str(), 1);
    sysrootReload();
}

std::string readTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool writeTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

bool removeTree(const std::string& path)
{
    auto removeEntry = [](const char* entry, const struct stat*, int, struct FTW*) -> int {
        return ::remove(entry);
    };
    nftw(path.c_str(), removeEntry, 32, FTW_DEPTH | FTW_PHYS);
    return access(path.c_str(), F_OK) != 0;
}
