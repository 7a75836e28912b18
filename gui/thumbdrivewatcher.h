#pragma once
// Watches the USB stick's mount directory: whether a stick is mounted now, and
// Inserted/Removed/Changed 1000 ms after every change in the parent directory
// (the delay lets the mount settle). Each user keeps its own watcher. GUI thread.
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

private:
    QFileSystemWatcher watcher;
    std::string mountPath;
};
