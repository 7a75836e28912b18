#include "sysroot.h"

#include <cstdlib>
#include <mutex>

namespace {
// Function-local state: the root may be asked for from static constructors of
// other modules, before this file's own globals would be initialised. Never
// destroyed: threads that are never stopped map paths until the process ends.
struct RootState {
    std::mutex lock;
    bool loaded = false;
    std::string dir;
};

RootState& rootState()
{
    static RootState* const state = new RootState;
    return *state;
}

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
    RootState& state = rootState();
    std::lock_guard<std::mutex> guard(state.lock);
    if (!state.loaded) {
        state.dir = loadRoot();
        state.loaded = true;
    }
    return state.dir;
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
    RootState& state = rootState();
    std::lock_guard<std::mutex> guard(state.lock);
    state.dir = loadRoot();
    state.loaded = true;
}
