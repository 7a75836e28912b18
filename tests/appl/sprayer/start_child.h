#pragma once
// Runs the console's start-up (platform, then process core) in a child process
// below a fresh stand-in root, so that every case starts from a new program
// state. The child reports what it saw as "@key=value" lines on its standard
// output, next to whatever the start-up printed.
#include <unistd.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "cdebug.h"
#include "dsvalue.h"
#include "platform.h"
#include "processhooks.h"
#include "processinit.h"
#include "test_capture.h"
#include "test_root.h"

inline void report(const std::string& key, const std::string& value)
{
    std::printf("@%s=%s\n", key.c_str(), value.c_str());
    std::fflush(stdout);
}

inline void report(const std::string& key, long long value)
{
    report(key, std::to_string(value));
}

inline void reportItem(uint32_t id)
{
    report("item" + std::to_string(id), static_cast<long long>(dsValue(id)));
}

// Runs the main thread's event loop for ms of real time.
inline void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct StartRun {
    int status = -1;
    std::string output;
    std::map<std::string, std::string> reported;

    bool has(const std::string& key) const { return reported.count(key) != 0; }
    std::string text(const std::string& key) const
    {
        const auto found = reported.find(key);
        return found == reported.end() ? std::string() : found->second;
    }
    // -1 when not reported.
    long long value(const std::string& key) const { return has(key) ? std::stoll(text(key)) : -1; }
    long long item(uint32_t id) const { return value("item" + std::to_string(id)); }
};

// In the child: platformInit, then `before` (the store is up, the core not yet),
// processInit (its result reported as "result"), then `after`. The logger is
// drained before the child ends.
inline StartRun runStart(const std::function<void()>& before, const std::function<void()>& after)
{
    TestRoot root;
    const std::string work = root.dir() + "/work";
    mkdir(work.c_str(), 0755);
    StartRun run;
    run.status = runInChild(
        [&] {
            if (chdir(work.c_str()) != 0)
                return 2;
            int argc = 1;
            char name[] = "starttest";
            char* argv[] = {name, nullptr};
            QCoreApplication app(argc, argv);
            // The start-up's info lines are part of what the cases check.
            CDebug& logger = CDebug::getInstance();
            writeTextFile(logger.rulesFilePath(), "[rules]\ncDefault.info=true\ncDefault.debug=true\n");
            logger.readFilterRules();
            processRegisterStoreHooks();
            platformInit();
            before();
            report("result", processInit());
            after();
            CDebug::getInstance().shutdown();
            return 0;
        },
        &run.output);
    std::istringstream lines(run.output);
    std::string line;
    while (std::getline(lines, line)) {
        // The console ends some of its lines with "\n\r".
        while (!line.empty() && line.front() == '\r')
            line.erase(0, 1);
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (line.size() > 1 && line[0] == '@' && equals != std::string::npos)
            run.reported[line.substr(1, equals - 1)] = line.substr(equals + 1);
    }
    run.output += "\n[root " + root.dir() + "]";
    return run;
}
