#pragma once
// Runs the built fieldconsole (in the build root, beside the tests folder) on
// the current stand-in board, from its storage directory. Header only.
#include "sysroot.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <string>

inline QString fieldconsolePath()
{
    return QDir(QCoreApplication::applicationDirPath() + "/..").absoluteFilePath("fieldconsole");
}

inline void startFieldconsole(QProcess& process, const QStringList& arguments = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CONSOLE_SYSROOT", QString::fromStdString(sysrootDir()));
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QString::fromStdString(sysrootPath("/usr/local/velmar")));
    process.start(fieldconsolePath(), arguments);
}

// Reads standard output until the line appears; everything read so far goes to output.
inline bool waitForOutput(QProcess& process, const QByteArray& line, int timeoutMs, QByteArray* output)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        output->append(process.readAllStandardOutput());
        if (output->contains(line))
            return true;
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(200);
    }
    return false;
}
