#include "sysroot.h"

#include <cstdlib>
#include <mutex>

namespace {
std::mutex rootLock;
bool rootLoaded = false;
std::string rootDir;

std::string loadRoot()
{
    const char* env = std::getenv("CONSOLE_SYSROOT");
    std::string dir = env ? env : "";
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}
}  // namespace

std::string sysrootDir()
{
    std::lock_guard<std::mutex> guard(rootLock);
    if (!rootLoaded) {
        rootDir = loadRoot();
        rootLoaded = true;
    }
    return rootDir;
}

bool sysrootActive()
{
    return !sysrootDir().empty();
}

std::string sysrootPath(const std::string& fixedPath)
{
    const std::string root = sysrootDir();
    if (root.empty() || fixedPath.empty() || fixedPath[0] != '/')
        return fixedPath;
    if (root == "/")
        return fixedPath;
    return root + fixedPath;
}

void sysrootReload()
{
    std::lock_guard<std::mutex> guard(rootLock);
    rootDir = loadRoot();
    rootLoaded = true;
}
