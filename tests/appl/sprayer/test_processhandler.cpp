// The event handler on a started platform: every event runs through the five
// links in their order, the main tick's work and the handler's own cases.
#include <doctest/doctest.h>

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include <QCoreApplication>

#include "alarm.h"
#include "alarmdefs.h"
#include "datastore.h"
#include "dsvalue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "logworker.h"
#include "platform.h"
#include "pressurelogger.h"
#include "processevent.h"
#include "processhandler.h"
#include "reglink.h"
#include "standin_serial.h"
#include "test_root.h"
#include "unitquantities.h"
#include "units.h"

namespace {

// A started platform with the real handler installed; once per program.
struct Console {
    Console()
    {
        serial.create(root.dir());
        const std::string work = root.dir() + "/work";
        mkdir(work.c_str(), 0755);
        REQUIRE(chdir(work.c_str()) == 0);
        static int argc = 1;
        static char name[] = "handlertest";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
        platformInit();
        processInitAlarms();
        tickHookInit();
        eventSetCallback(processHandleEvent);
        QCoreApplication::processEvents();
    }
    TestRoot root;
    StandinSerial serial;
    QCoreApplication* app = nullptr;
};

Console& console()
{
    static Console* instance = new Console();
    return *instance;
}

// Posts the events and lets the handler take them all.
void deliver(const std::vector<std::pair<uint32_t, uint32_t>>& events)
{
    for (const auto& event : events)
        eventPost(2, event.first, event.second);
    QCoreApplication::processEvents();
}

using LinkCall = std::tuple<int, uint32_t, uint32_t>;
std::vector<LinkCall> gLinkCalls;
EventChainLink gOriginal[EVENT_CHAIN_LINKS];

template <int N>
void spyLink(uint32_t id, uint32_t arg)
{
    gLinkCalls.emplace_back(N, id, arg);
    gOriginal[N](id, arg);
}

// Wraps every link of the chain while it lives.
struct ChainSpy {
    ChainSpy()
    {
        EventChainLink* chain = processEventChain();
        for (uint32_t i = 0; i < EVENT_CHAIN_LINKS; ++i)
            gOriginal[i] = chain[i];
        chain[0] = spyLink<0>;
        chain[1] = spyLink<1>;
        chain[2] = spyLink<2>;
        chain[3] = spyLink<3>;
        chain[4] = spyLink<4>;
        gLinkCalls.clear();
    }
    ~ChainSpy()
    {
        for (uint32_t i = 0; i < EVENT_CHAIN_LINKS; ++i)
            processEventChain()[i] = gOriginal[i];
    }
    // The calls made with this argument, in order.
    std::vector<LinkCall> callsWith(uint32_t arg) const
    {
        std::vector<LinkCall> calls;
        for (const LinkCall& call : gLinkCalls)
            if (std::get<2>(call) == arg)
                calls.push_back(call);
        return calls;
    }
};

std::vector<std::pair<uint32_t, uint32_t>> gRegulation;
void recordRegulation(uint32_t id, uint32_t arg)
{
    gRegulation.emplace_back(id, arg);
}

int gHookRuns = 0;
void countHook()
{
    ++gHookRuns;
}

std::string readReply(int fd, int timeoutMs)
{
    std::string bytes;
    struct pollfd watch = {fd, POLLIN, 0};
    while (::poll(&watch, 1, timeoutMs) > 0) {
        char buffer[64];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
        timeoutMs = 50;
    }
    return bytes;
}

}  // namespace

TEST_CASE("every event passes the five links in their order, treated by the handler or not")
{
    console();
    ChainSpy spy;
    // Arguments mark the posted events among those the handling itself posts.
    const std::vector<std::pair<uint32_t, uint32_t>> events = {
        {EV_TICK_100MS, 70001}, {EV_TICK_1S, 70002},   {EV_TICK_500MS, 70003}, {EV_MASTER_OFF, 70004},
        {EV_SET_BOOST, 70005},  {EV_REGULATION_TICK, 70006}, {4242, 70007},    {EV_ALARM_SHOWN, 70008},
    };
    deliver(events);
    for (const auto& event : events) {
        CAPTURE(event.first);
        const std::vector<LinkCall> expected = {
            {0, event.first, event.second}, {1, event.first, event.second}, {2, event.first, event.second},
            {3, event.first, event.second}, {4, event.first, event.second},
        };
        CHECK(spy.callsWith(event.second) == expected);
    }
}

TEST_CASE("through the chain the regulation gets the main tick as 66, never a posted 66")
{
    console();
    ProcessEventTail& tail = processEventTail();
    const ProcessEventTail saved = tail;
    tail.regulation = recordRegulation;
    gRegulation.clear();
    REQUIRE(dsStore(DS_PAGE_MODE, 0) == 0);
    deliver({{EV_TICK_100MS, 0}, {EV_REGULATION_TICK, 5}, {EV_TICK_100MS, 0}});
    int ticks = 0;
    for (const auto& call : gRegulation) {
        CHECK(call.first != EV_TICK_100MS);
        if (call.first == EV_REGULATION_TICK) {
            CHECK(call.second == 0);
            ++ticks;
        }
    }
    CHECK(ticks == 2);

    REQUIRE(dsStore(DS_PAGE_MODE, 1) == 0);
    QCoreApplication::processEvents();
    gRegulation.clear();
    deliver({{EV_TICK_100MS, 0}, {EV_TICK_100MS, 0}});
    CHECK(gRegulation.empty());
    REQUIRE(dsStore(DS_PAGE_MODE, 0) == 0);
    tail = saved;
}

TEST_CASE("the 1 s tick runs the tick hooks")
{
    console();
    REQUIRE(tickHookRegister(1, countHook) != 0);
    gHookRuns = 0;
    deliver({{EV_TICK_1S, 0}, {EV_TICK_500MS, 0}, {EV_TICK_1S, 0}});
    CHECK(gHookRuns == 2);
}

TEST_CASE("the main tick serves the register link on port 2 unless the flow printout has it")
{
    Console& c = console();
    const uint8_t request[] = {REGLINK_ID_VERSION & 0xFF, REGLINK_ID_VERSION >> 8, 0, REGLINK_ID_VERSION & 0xFF};
    readReply(c.serial.master(2), 20);

    REQUIRE(dsStore(DS_FLOW_PRINTOUT_ENABLED, 1) == 0);
    REQUIRE(::write(c.serial.master(2), request, sizeof request) == static_cast<ssize_t>(sizeof request));
    for (int i = 0; i < 3; ++i)
        deliver({{EV_TICK_100MS, 0}});
    CHECK(readReply(c.serial.master(2), 300).empty());

    REQUIRE(dsStore(DS_FLOW_PRINTOUT_ENABLED, 0) == 0);
    std::string reply;
    for (int i = 0; i < 10 && reply.empty(); ++i) {
        deliver({{EV_TICK_100MS, 0}});
        reply = readReply(c.serial.master(2), 100);
    }
    REQUIRE(!reply.empty());
    CHECK(static_cast<uint8_t>(reply[0]) == REGLINK_ACCEPTED);
}

TEST_CASE("the handler's own cases")
{
    console();
    SUBCASE("the master-off command clears the master switch")
    {
        REQUIRE(dsStore(DS_MASTER_SWITCH, 1) == 0);
        deliver({{EV_MASTER_OFF, 0}});
        CHECK(dsValue(DS_MASTER_SWITCH) == 0);
    }
    SUBCASE("a shown alarm ends a manual pressure change")
    {
        REQUIRE(dsStore(DS_MANUAL_PRESSURE_BITS, 0x0007) == 0);
        deliver({{EV_ALARM_SHOWN, 9}});
        CHECK(dsValue(DS_MANUAL_PRESSURE_BITS) == 0x0001);
    }
    SUBCASE("the density alarms can be switched off")
    {
        alarmEnable(SPRAY_DENSITY_NOT_1, 1);
        alarmEnable(SPRAY_WORKING_PRESS_BASED, 1);
        deliver({{EV_DISABLE_DENSITY_ALARMS, 0}});
        CHECK(alarmIsEnabled(SPRAY_DENSITY_NOT_1) == 0);
        CHECK(alarmIsEnabled(SPRAY_WORKING_PRESS_BASED) == 0);
    }
}

TEST_CASE("the flow printout on port 2: the header once, then one line per 50 ms tick")
{
    Console& c = console();
    readReply(c.serial.master(2), 20);
    REQUIRE(dsStore(DS_PAGE_MODE, 0) == 0);
    REQUIRE(dsStore(DS_FLOW_PRINTOUT_ENABLED, 1) == 0);
    processEvent(EV_TICK_50MS, 0);
    processEvent(EV_TICK_50MS, 0);
    // Not on other pages.
    REQUIRE(dsStore(DS_PAGE_MODE, 4) == 0);
    processEvent(EV_TICK_50MS, 0);
    REQUIRE(dsStore(DS_PAGE_MODE, 0) == 0);
    processEvent(EV_TICK_50MS, 0);
    REQUIRE(dsStore(DS_FLOW_PRINTOUT_ENABLED, 0) == 0);
    const std::string printed = readReply(c.serial.master(2), 500);

    const std::string header = "Time,Speed,Flow,Pressure,Tank Vol.,Reg.valve output, Flow pr. nozzle\n";
    REQUIRE(printed.rfind(header, 0) == 0);
    CHECK(printed.find(header, 1) == std::string::npos);
    std::vector<std::string> lines;
    size_t start = header.size();
    for (size_t end = printed.find('\n', start); end != std::string::npos; end = printed.find('\n', start)) {
        lines.push_back(printed.substr(start, end - start));
        start = end + 1;
    }
    REQUIRE(lines.size() == 3);
    for (const std::string& line : lines) {
        CAPTURE(line);
        CHECK(std::count(line.begin(), line.end(), ',') == 6);
    }
}

TEST_CASE("the 10 s tick logs the working pressure only while spraying with a pressure")
{
    console();
    processInitUnits();
    pressureLogCreate("pressurelogs");
    pressureLogEnable(1);
    const auto lines = [] {
        REQUIRE(pressureLogWorker()->waitIdle(5000));
        std::vector<std::string> read;
        std::ifstream file("pressurelogs/presslogTmp.log");
        for (std::string line; std::getline(file, line);)
            read.push_back(line);
        return read;
    };
    const size_t before = lines().size();
    struct Case {
        uint32_t spraying;
        uint32_t pressure;  // bar x 100
        uint32_t unitSystem;
        const char* logged;  // start of the line, nullptr for none
    };
    const Case cases[] = {
        {0, 350, 0, nullptr},
        {1, 0, 0, nullptr},
        {1, 350, 0, "3.5 bar,"},
        {1, 350, 1, " psi,"},
    };
    size_t expected = before;
    for (const Case& c : cases) {
        CAPTURE(c.spraying);
        CAPTURE(c.pressure);
        unitSetSystem(c.unitSystem);
        REQUIRE(dsStore(DS_SPRAYING_ACTIVE, c.spraying) == 0);
        REQUIRE(dsStore(DS_LIVE_PRESSURE_2, c.pressure) == 0);
        deliver({{EV_TICK_10S, 0}});
        const std::vector<std::string> now = lines();
        if (c.logged != nullptr)
            ++expected;
        REQUIRE(now.size() == expected);
        if (c.logged != nullptr)
            CHECK(now.back().find(c.logged) != std::string::npos);
    }
    unitSetSystem(0);
    REQUIRE(dsStore(DS_SPRAYING_ACTIVE, 0) == 0);
    REQUIRE(dsStore(DS_LIVE_PRESSURE_2, 0) == 0);
}
