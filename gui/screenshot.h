#pragma once
// Screenshots on the USB stick: shot000.png, shot001.png, ... in its root. The
// numbering starts again at 0 only when the stick's directory is first found.
// GUI thread only.
#include <QString>

class QWidget;

// Absolute path of the next file name: shot%1.png, at least three digits.
QString screenShotFileName();
// Moves the counter past every name that exists.
void screenShotFindFreeName();
// Renders the widget (the active window when null) and saves it as PNG on the
// stick when its directory exists; an empty fileName receives the free name used.
void screenShotSave(QWidget* widget, QString& fileName);
// False once the directory has been found; else points at the stick's root,
// resets the counter and notes whether the directory exists.
bool screenShotInit();
