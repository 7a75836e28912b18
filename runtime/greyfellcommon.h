#pragma once
// The removable USB stick: its mount directory, free file names and dated
// report directories on it, and removal and moving of directory trees.
#include <QDir>
#include <QString>

namespace GreyfellCommon {

// The stick's mount directory "/media/sda1" (below the system root).
QString usbRootPath();

// A path on the stick for a new file: name + extension, else name(2) +
// extension, name(3) + ... A name that exists in any form is never handed out;
// empty when every number up to 9999 is taken. Without a stick the first name
// is returned unchecked (writing it then fails).
QString uniqueUsbFileName(const char* name, const char* extension);

// A new directory Reports/yyyy_MMM_dd (then ...-2, -3, ...) on the stick,
// created when the stick is present. Without a stick nothing is created.
QDir reportDirectory();

// Removes the directory tree with hidden entries and empty directories.
// True when the tree is gone; false when it did not exist or a part remains.
bool removeDirectory(const QDir& directory);

// Copies the tree source to destination and removes the source only when
// everything was copied; on failure only what this call created is removed.
bool moveDirectory(const QString& source, const QString& destination);

}  // namespace GreyfellCommon
