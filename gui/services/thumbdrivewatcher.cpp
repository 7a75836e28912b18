#include "thumbdrivewatcher.h"

#include "sysroot.h"

#include <QFileInfo>
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

// The directory itself or its nearest ancestor that exists.
QString nearestExistingDirectory(QString path)
{
    while (!QFileInfo(path).isDir() && path.contains('/'))
        path = path.left(path.lastIndexOf('/'));
    return path.isEmpty() ? QStringLiteral("/") : path;
}

}  // namespace

CThumbDriveWatcher::CThumbDriveWatcher(std::string path) : mountPath(std::move(path))
{
    watchingParent = watchParentOrAncestor();
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &CThumbDriveWatcher::handleWatchedChange);
}

bool CThumbDriveWatcher::watchParentOrAncestor()
{
    const QString parent = QString::fromStdString(parentDirectory(mountPath));
    if (parent.isEmpty())
        return false;
    // A directory may appear or vanish between the look and the watch: look
    // again until the watched one is still the nearest that exists (a few
    // times at most, should the watch itself fail).
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString nearest = nearestExistingDirectory(parent);
        if (watcher.directories() != QStringList(nearest)) {
            const QStringList old = watcher.directories();
            if (!old.isEmpty())
                watcher.removePaths(old);
            if (!watcher.addPath(nearest))
                continue;
        }
        if (nearestExistingDirectory(parent) == nearest)
            return nearest == parent;
    }
    return false;
}

void CThumbDriveWatcher::handleWatchedChange()
{
    // A change in the parent directory, the parent appearing (a stick may
    // already be in it) or the parent vanishing all call for an evaluation;
    // other changes in an ancestor only move the watch.
    const bool wasWatchingParent = watchingParent;
    watchingParent = watchParentOrAncestor();
    if (wasWatchingParent || watchingParent)
        vStartTimer();
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
