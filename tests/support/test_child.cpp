#include "test_child.h"

#include <doctest/doctest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <unistd.h>

void runChildInDirectory(const QString& dir, const char* variable, int timeoutMs)
{
    const QString self = QCoreApplication::applicationFilePath();
    const QString program = dir + "/" + QFileInfo(self).fileName();
    REQUIRE((::link(self.toLocal8Bit().constData(), program.toLocal8Bit().constData()) == 0 ||
             QFile::copy(self, program)));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(variable, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(program, {"-tc=child*"});
    REQUIRE(child.waitForFinished(timeoutMs));
    CHECK(child.exitStatus() == QProcess::NormalExit);
    CHECK(child.exitCode() == 0);
}
