#pragma once
// A console in the field for the end-to-end test and its benchmark: a fresh
// stand-in board with the installer's configuration for the simulated sprayer,
// the sprayer played in this process (a tractor at 8 km/h, nine sections, the
// master switch on) with the section controller on CAN (manual, every section
// allowed), and the built fieldconsole started on it. What the
// sprayer truly does is read from its model; what the console kept is read
// from its store file. Header only.
#include "datastore.h"
#include "dscatalogue.h"
#include "dsnvmem.h"
#include "fieldconsole_run.h"
#include "filestore.h"
#include "standin_fpgaio.h"
#include "standin_sectrix.h"
#include "standin_sprayer.h"
#include "standin_sprayerconfig.h"
#include "test_root.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// The console's store file as it is on disk: the items of a valid image.
class StoreFile {
public:
    explicit StoreFile(const std::string& path)
    {
        static const bool catalogueReady = datastoreInit(0) == 0;  // offsets only; no file is touched
        std::ifstream in(path, std::ios::binary);
        mBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        mValid = catalogueReady &&
                 mBytes.size() == FILESTORE_HEADER_SIZE + datastoreNvImageLength(DS_NV_STORE_BACKEND) &&
                 u32(DS_NVMEM_INIT_MARKER) == DS_NV_INIT_MARKER;
    }

    bool valid() const { return mValid; }

    uint32_t u32(uint32_t id, uint32_t byte = 0) const { return read<uint32_t>(id, byte); }
    uint16_t u16(uint32_t id, uint32_t byte = 0) const { return read<uint16_t>(id, byte); }
    // Whole units of a job trip counter (its stored state: remainder, units, running).
    uint32_t trip(uint32_t stateItem) const { return u32(stateItem, 4); }
    // The trip with its remainder, in units of unitSize sub-units.
    double tripValue(uint32_t stateItem, uint32_t unitSize) const
    {
        return trip(stateItem) + static_cast<int32_t>(u32(stateItem)) / double(unitSize);
    }

private:
    template <typename T>
    T read(uint32_t id, uint32_t byte) const
    {
        T value{};
        const size_t at = FILESTORE_HEADER_SIZE + datastoreNvOffset(id) + byte;
        if (at + sizeof value <= mBytes.size())
            std::memcpy(&value, mBytes.data() + at, sizeof value);
        return value;
    }

    std::vector<char> mBytes;
    bool mValid = false;
};

// The store items of the active job's trip counters. Distance and area count
// whole units; the volume keeps its fraction in millionths of a litre.
constexpr uint32_t kJobDistanceState = DS_COUNTER_16_STATE;  // metres
constexpr uint32_t kJobAreaState = DS_COUNTER_19_STATE;      // 1/100 ha
constexpr uint32_t kJobVolumeState = DS_COUNTER_7_STATE;     // litres
constexpr uint32_t kVolumeSubUnits = 1000000;

// The rate the sprayer applies, l/ha, averaged over ms in steps of stepMs (0
// while it stands or sprays nothing); wait(stepMs) lets each step pass.
template <typename Wait>
double sprayerAppliedRate(const StandinSprayer& sprayer, int ms, int stepMs, Wait wait)
{
    double flow = 0.0, ground = 0.0;
    for (int t = 0; t < ms; t += stepMs) {
        const SprayerModel m = sprayer.model();
        const SprayerDrive d = sprayer.drive();
        flow += m.sprayedFlowLpm();
        ground += d.master ? m.speedKmh() * m.workingWidthM(d.openSections) : 0.0;
        wait(stepMs);
    }
    // l/min over km/h x m: x 600 gives l/ha.
    return ground > 0.0 ? flow * 600.0 / ground : 0.0;
}

struct ConsoleField {
    TestRoot root;
    SprayerSetup setup;
    std::unique_ptr<StandinFpga> board;
    std::unique_ptr<StandinSprayer> sprayer;
    std::unique_ptr<StandinSectrix> sectrix;
    QProcess console;
    QByteArray output;

    ConsoleField()
    {
        sprayerWriteConfig(root.dir(), setup);
        board = std::make_unique<StandinFpga>(root.dir());
        sprayer = std::make_unique<StandinSprayer>(root.dir(), *board, setup);
        sprayer->start();
        sprayer->command("speed 8");
        sprayer->command("master on");
        sectrix = std::make_unique<StandinSectrix>(root.dir());
        sectrix->start();
        console.setProcessChannelMode(QProcess::MergedChannels);
    }

    ~ConsoleField()
    {
        if (console.state() != QProcess::NotRunning) {
            console.kill();
            console.waitForFinished(10000);
        }
        sectrix->stop();
        sprayer->stop();
    }

    std::string storePath() const { return root.path("/usr/local/velmar/fdatasto/fdatasto.dat"); }

    bool start(int timeoutMs = 120000)
    {
        output.clear();
        startFieldconsole(console);
        return waitForOutput(console, "Init. Done - fieldconsole\n", timeoutMs, &output);
    }

    bool end(int signal, int timeoutMs = 60000)
    {
        if (::kill(pid_t(console.processId()), signal) != 0)
            return false;
        const bool ended = console.waitForFinished(timeoutMs);
        output.append(console.readAll());
        return ended;
    }

    // Waits in 100 ms steps, reading the console's output, until done() holds.
    bool waitFor(const std::function<bool()>& done, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > timeoutMs || console.state() == QProcess::NotRunning)
                return false;
            pause(100);
        }
        return true;
    }

    void pause(int ms)
    {
        console.waitForReadyRead(ms);
        output.append(console.readAll());
    }

    // The rate the sprayer applies, l/ha, averaged over ms.
    double appliedRate(int ms = 2000)
    {
        return sprayerAppliedRate(*sprayer, ms, 100, [this](int step) { pause(step); });
    }
};
