#include "thumbdrivewatcher.h"

#include "sysroot.h"

#include <QTimer>

#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr int settleMs = 1000;

std::string parentDirectory(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The stand-in board cannot mount anything: below its root a directory at the
// mount path is a mounted stick.
bool isStandinPath(const std::string& path)
{
    const std::string root = sysrootDir();
    return !root.empty() && path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0 &&
           path[root.size()] == '/';
}

}  // namespace

CThumbDriveWatcher::CThumbDriveWatcher(std::string path) : mountPath(std::move(path))
{
    const std::string parent = parentDirectory(mountPath);
    if (!parent.empty())
        watcher.addPath(QString::fromStdString(parent));
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &CThumbDriveWatcher::vStartTimer);
}

bool CThumbDriveWatcher::isPresent() const
{
    struct stat self {};
    struct stat parent {};
    if (stat(mountPath.c_str(), &self) == 0 && S_ISDIR(self.st_mode)) {
        if (isStandinPath(mountPath))
            return true;
        if (lstat(mountPath.c_str(), &self) == 0 && stat((mountPath + "/..").c_str(), &parent) == 0 &&
            self.st_dev != parent.st_dev)
            return true;
    }
    return mountPath == "/";
}

void CThumbDriveWatcher::vStartTimer()
{
    QTimer::singleShot(settleMs, this, &CThumbDriveWatcher::vHandleDirectoryChange);
}

void CThumbDriveWatcher::vHandleDirectoryChange()
{
    const bool present = isPresent();
    std::printf("$PMDT,Directory changed.  Thumbdrive is %s\n", present ? "present." : "removed.");
    std::fflush(stdout);
    if (present)
        emit Inserted();
    else
        emit Removed();
    emit Changed(present);
}
