// Start-up time of fieldconsole (process start to "Init. Done") and its
// resident memory after 30 s idle, on a fresh stand-in board.
#include "fieldconsole_run.h"
#include "test_root.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

long residentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
    TestRoot root;
    QProcess console;
    QElapsedTimer timer;
    timer.start();
    startFieldconsole(console);
    QByteArray out;
    if (!waitForOutput(console, "Init. Done - fieldconsole\n", 120000, &out)) {
        std::fprintf(stderr, "fieldconsole did not report its start-up\n%s", out.constData());
        return 1;
    }
    const qint64 startMs = timer.elapsed();
    std::printf("start-up to \"Init. Done\": %lld ms\n", static_cast<long long>(startMs));
    std::printf("resident memory at start-up: %ld kB\n", residentKb(console.processId()));
    std::fflush(stdout);
    QThread::sleep(static_cast<unsigned long>(idleSeconds));
    console.readAllStandardOutput();
    std::printf("resident memory after %d s idle: %ld kB\n", idleSeconds, residentKb(console.processId()));
    ::kill(pid_t(console.processId()), SIGTERM);
    console.waitForFinished(60000);
    return 0;
}
