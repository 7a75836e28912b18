#pragma once
// Watches the USB stick's mount directory: whether a stick is mounted now, and
// Inserted/Removed/Changed 1000 ms after every change in the parent directory
// (the delay lets the mount settle). While the parent directory does not exist
// (the system creates it when the first stick comes), its nearest existing
// ancestor is watched, and the parent's appearance counts as a change. Each
// user keeps its own watcher. GUI thread.
#include <QFileSystemWatcher>
#include <QObject>

#include <string>

class CThumbDriveWatcher : public QObject {
    Q_OBJECT
public:
    explicit CThumbDriveWatcher(std::string path);

    bool isPresent() const;

signals:
    void Inserted();
    void Removed();
    void Changed(bool present);

public slots:
    void vHandleDirectoryChange();
    void vStartTimer();

private slots:
    void handleWatchedChange();

private:
    // Watches the parent directory, or while it is missing its nearest existing
    // ancestor; true when the parent itself is watched.
    bool watchParentOrAncestor();

    QFileSystemWatcher watcher;
    std::string mountPath;
    bool watchingParent = false;
};
