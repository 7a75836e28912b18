#include "greyfellcommon.h"

#include "cmdrunner.h"
#include "sysroot.h"
#include "toolsmisc.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QObject>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kLastNumber = 9999;

const QDir::Filters kAllEntries = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

bool pathTaken(const QString& path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// Flushes the file system that holds path (or, once it is gone, its parent).
void syncFileSystemOf(const QString& path)
{
    QString existing = QFileInfo(path).absoluteFilePath();
    while (!existing.isEmpty() && !QFileInfo(existing).isDir() && existing != "/")
        existing = QFileInfo(existing).absolutePath();
    const int fd = ::open(QFile::encodeName(existing).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::syncfs(fd);
    ::close(fd);
}

bool removeTreeAt(const QString& path)
{
    QDir dir(path);
    for (const QFileInfo& entry : dir.entryInfoList(kAllEntries, QDir::Unsorted)) {
        // A link is removed as a link: the tree it points into is not ours.
        const bool ok = entry.isDir() && !entry.isSymLink() ? removeTreeAt(entry.absoluteFilePath())
                                                            : dir.remove(entry.fileName());
        if (!ok) {
            std::printf("Error - GreyfellCommon::removeDirectory\n");
            std::fflush(stdout);
            return false;
        }
    }
    return ::rmdir(QFile::encodeName(path).constData()) == 0;
}

bool copyLink(const QString& from, const QString& to)
{
    std::vector<char> target(4096, '\0');
    const ssize_t length = ::readlink(QFile::encodeName(from).constData(), target.data(), target.size() - 1);
    return length >= 0 && ::symlink(target.data(), QFile::encodeName(to).constData()) == 0;
}

// Copies the tree, recording every path it creates so that a failure can take
// back exactly its own work.
bool copyTree(const QString& source, const QString& destination, std::vector<QString>& created)
{
    if (QDir().mkdir(destination))
        created.push_back(destination);
    else if (!QFileInfo(destination).isDir() || QFileInfo(destination).isSymLink())
        return false;
    for (const QFileInfo& entry : QDir(source).entryInfoList(kAllEntries, QDir::Unsorted)) {
        const QString target = destination + QDir::separator() + entry.fileName();
        bool ok;
        if (entry.isSymLink())
            ok = copyLink(entry.absoluteFilePath(), target);
        else if (entry.isDir())
            ok = copyTree(entry.absoluteFilePath(), target, created);
        else if (entry.isFile())
            ok = QFile::copy(entry.absoluteFilePath(), target);
        else
            ok = false;  // devices, pipes and sockets cannot be carried over
        if (!ok)
            return false;
        if (!entry.isDir() || entry.isSymLink())
            created.push_back(target);
    }
    return true;
}

bool liesWithin(const QString& destination, const QString& source)
{
    const QString sourcePath = QFileInfo(source).canonicalFilePath();
    const QFileInfo destinationInfo(destination);
    QString parent = QFileInfo(destinationInfo.absolutePath()).canonicalFilePath();
    if (parent.isEmpty())
        parent = destinationInfo.absolutePath();
    const QString destinationPath = QDir::cleanPath(parent + QDir::separator() + destinationInfo.fileName());
    return destinationPath == sourcePath || destinationPath.startsWith(sourcePath + QDir::separator());
}
}  // namespace

namespace GreyfellCommon {

QString usbRootPath()
{
    return QString::fromStdString(sysrootPath("/media/sda1"));
}

QString uniqueUsbFileName(const char* name, const char* extension)
{
    const std::string root = usbRootPath().toStdString();
    const QString suffix = QString::fromUtf8(extension ? extension : "");
    const std::string stem = name ? name : "";
    QString candidate = QString::fromStdString(pathJoin(root, stem)) + suffix;
    if (!QFileInfo(QString::fromStdString(root)).isDir())
        return candidate;
    for (int number = 2; pathTaken(candidate); ++number) {
        if (number > kLastNumber)
            return QString();
        candidate = QString::fromStdString(pathJoin(root, stringPrintf("%s(%d)", stem.c_str(), number))) + suffix;
    }
    return candidate;
}

QDir reportDirectory()
{
    const QChar separator = QDir::separator();
    const struct timespec now = cmdWallClockNow();
    const QDate today = QDateTime::fromSecsSinceEpoch(now.tv_sec).date();
    const QString dateText = QLocale().toString(today, QStringLiteral("yyyy_MMM_dd"));
    const QString root = usbRootPath();
    const QString reports = root + separator + QObject::tr("Reports");
    QString result = QDir(reports).absolutePath() + separator + dateText;
    if (QFileInfo(root).isDir()) {
        if (!QDir(reports).exists())
            QDir().mkpath(reports);
        if (QDir(reports).exists()) {
            for (int number = 2; QDir(result).exists() && number <= kLastNumber; ++number)
                result = reports + separator + QString("%1-%2").arg(dateText).arg(number);
        }
        QDir().mkpath(result);
    }
    return QDir(result);
}

bool removeDirectory(const QDir& directory)
{
    const QString path = directory.absolutePath();
    if (!directory.exists()) {
        syncFileSystemOf(path);
        return false;
    }
    const bool removed = removeTreeAt(path);
    syncFileSystemOf(path);
    return removed;
}

bool moveDirectory(const QString& source, const QString& destination)
{
    if (!QFileInfo(source).isDir() || liesWithin(destination, source)) {
        syncFileSystemOf(source);
        return false;
    }
    std::vector<QString> created;
    bool moved = copyTree(source, destination, created);
    if (moved) {
        // The copy must be on the medium before the only other copy goes.
        syncFileSystemOf(destination);
        moved = removeDirectory(QDir(source));
    } else {
        for (auto it = created.rbegin(); it != created.rend(); ++it) {
            const QByteArray path = QFile::encodeName(*it);
            if (::unlink(path.constData()) != 0)
                ::rmdir(path.constData());
        }
    }
    syncFileSystemOf(destination);
    return moved;
}

}  // namespace GreyfellCommon
