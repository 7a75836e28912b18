#include "console_field.h"
#include "dscatalogue.h"
#include "fieldconsole_run.h"
#include "gui_test.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>

namespace {

struct Board : WithGuiApplication {
    TestRoot root;
    QProcess console;
    ~Board()
    {
        if (console.state() != QProcess::NotRunning) {
            console.kill();
            console.waitForFinished(10000);
        }
    }
};

}  // namespace

TEST_CASE("-h prints the usage on standard error and ends with 0 before anything starts")
{
    Board b;
    startFieldconsole(b.console, {"-h", "-u"});
    REQUIRE(b.console.waitForFinished(60000));
    CHECK(b.console.exitStatus() == QProcess::NormalExit);
    CHECK(b.console.exitCode() == 0);
    CHECK(b.console.readAllStandardOutput().isEmpty());
    CHECK(QString(b.console.readAllStandardError()) ==
          "Usage: " + fieldconsolePath() +
              " [<option>]*\n  Available options:\n   -h              Show this message\n"
              "   -u              enable the unittest framework\n \n");
    CHECK_FALSE(QFileInfo::exists(QString::fromStdString(b.root.path("/usr/local/velmar/fdatasto/fdatasto.dat"))));
}

TEST_CASE("-u runs the program's own tests instead of the console")
{
    Board b;
    startFieldconsole(b.console, {"-x", "-u"});
    REQUIRE(b.console.waitForFinished(120000));
    CHECK(b.console.exitCode() == 0);
    const QByteArray out = b.console.readAllStandardOutput();
    CHECK(out.contains("Status: SUCCESS!"));
    CHECK_FALSE(out.contains("Init. Done"));
}

TEST_CASE("on a fresh board the console starts, runs and ends on SIGTERM with the store written")
{
    Board b;
    startFieldconsole(b.console);
    QByteArray out;
    REQUIRE(waitForOutput(b.console, "Init. Done - fieldconsole\n", 120000, &out));
    // Every store hook is in place before the store starts: none reports a lost change.
    CHECK_FALSE(out.contains("not registered"));
    const QString velmar = QString::fromStdString(b.root.path("/usr/local/velmar"));
    CHECK(QFileInfo(velmar + "/share").isDir());
    {
        INFO("every thread but the main one carries a name of its own, as ps and top show it");
        const QString tasks = QString("/proc/%1/task").arg(b.console.processId());
        const QStringList tids = QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        CHECK(tids.size() > 10);
        for (const QString& tid : tids) {
            QFile comm(tasks + "/" + tid + "/comm");
            REQUIRE(comm.open(QIODevice::ReadOnly));
            const QString name = QString::fromUtf8(comm.readAll()).trimmed();
            CAPTURE(name);
            CHECK((tid.toLongLong() == b.console.processId()) == (name == "fieldconsole"));
        }
    }
    REQUIRE(::kill(pid_t(b.console.processId()), SIGTERM) == 0);
    REQUIRE(b.console.waitForFinished(60000));
    CHECK(b.console.exitStatus() == QProcess::NormalExit);
    CHECK(b.console.exitCode() == 0);
    CHECK(QFileInfo(velmar + "/fdatasto/fdatasto.dat").size() == 2994);
    // The program's own US English, built beside it, was found and selected.
    const StoreFile store((velmar + "/fdatasto/fdatasto.dat").toStdString());
    REQUIRE(store.valid());
    CHECK(store.u16(DS_LANGUAGE_ID) == 0x0409);
}

TEST_CASE("Ctrl-C ends the console the way SIGTERM does")
{
    Board b;
    startFieldconsole(b.console);
    QByteArray out;
    REQUIRE(waitForOutput(b.console, "Init. Done - fieldconsole\n", 120000, &out));
    REQUIRE(::kill(pid_t(b.console.processId()), SIGINT) == 0);
    REQUIRE(b.console.waitForFinished(60000));
    CHECK(b.console.exitStatus() == QProcess::NormalExit);
    CHECK(b.console.exitCode() == 0);
    CHECK(QFileInfo(QString::fromStdString(b.root.path("/usr/local/velmar/fdatasto/fdatasto.dat"))).size() == 2994);
}
