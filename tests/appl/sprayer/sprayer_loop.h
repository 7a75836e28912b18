#pragma once
// The stand-in sprayer and the console's process core in one loop on the
// manual clock, faster than real time: the console's own measurement step and
// rate regulation, with its first-start settings and the installer's
// configuration that the board ships, read the sprayer's flow-meter reports,
// pressure and speed and drive its valves. Event ids and periods are the
// console's: the process tick every 66 ms, the regulation tick every 100 ms,
// the flow input polled every 50 ms; the regulation's one-shot timers are
// delivered at their times. The wheel speed reaches the core exactly (its
// lag is small beside the flow meter's). Header only; one loop at a time.
#include "cycle_env.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "cfgdt_if.h"
#include "clock.h"
#include "eventids.h"
#include "hbridge.h"
#include "io_if.h"
#include "mempool.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "processcycle.h"
#include "processsections.h"
#include "processsettings.h"
#include "processstate.h"
#include "processvalidate.h"
#include "pulsinput.h"
#include "regulation.h"
#include "regulmath.h"
#include "standin_fpgaio.h"
#include "standin_sprayer.h"
#include "standin_sprayerconfig.h"
#include "toolsmisc.h"
#include "xmlreader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <vector>

class SprayerLoop {
public:
    static constexpr uint32_t kProcessTickMs = 66;
    static constexpr uint32_t kRegulationTickMs = 100;
    static constexpr uint32_t kFlowPollMs = 50;
    static constexpr uint32_t kSampleMs = 100;

    struct Options {
        uint32_t preset = 0;             // the nozzle preset sprayed (and fitted on the boom)
        bool calibratedReturns = false;  // the sections' calibrated returns, declared to the console
        uint32_t seed = 1;               // phases of the ticks and the flow meter's jitter
        double speedKmh = 8.0;
        // The valve motor's dead zone (share of full drive); with none even the
        // least drive moves the valve, and one tick moves it more than the dead band holds.
        double valveDeadZone = SprayerSetup().valveDeadZone;
    };

    explicit SprayerLoop(const Options& options) : mModel(setupFor(options))
    {
        cycleenv::workDir();
        static const bool ioStarted = io_ifInit() != 0 || true;
        (void)ioStarted;
        clockUseManual();
        active() = this;
        regulSetHbridgeCommand(valveCommand);
        firstStart(mModel.setup());
        setItemValue(DS_CURRENT_TIP_PRESET, options.preset);
        // The wheel speed is handed to the core as the simulated source's reading.
        setItemValue(DS_SPEED_SOURCE, 3);
        processState().useCanSpeedAgain = 1;
        processCycleReset();
        processInitAlarms();
        regulInit();
        mModel.setSpeedKmh(options.speedKmh);
        mSwitches = (1u << mModel.setup().sections) - 1;
        // The ticks run on their own timers: their phases differ from run to run.
        const uint32_t s = options.seed * 2654435761u;
        mNextProcess = s % kProcessTickMs;
        mNextRegulation = (s >> 8) % kRegulationTickMs;
        mNextPoll = (s >> 16) % kFlowPollMs;
        mNextSample = 0;
        takeEvents();
    }

    ~SprayerLoop()
    {
        regulSetHbridgeCommand(cycleenv::recordHbridge);
        active() = nullptr;
        setItemValue(DS_MASTER_SWITCH, 0);
        setItemValue(DS_SPRAYING_ACTIVE, 0);
        clockUseReal();
        takeEvents();
    }

    SprayerLoop(const SprayerLoop&) = delete;
    SprayerLoop& operator=(const SprayerLoop&) = delete;

    // The sprayer the board plays for these options: the default one, with the
    // preset's nozzles fitted and the returns as chosen.
    static SprayerSetup setupFor(const Options& options)
    {
        SprayerSetup setup;
        setup.calibratedReturns = options.calibratedReturns;
        setup.seed = options.seed;
        setup.valveDeadZone = options.valveDeadZone;
        fitPresetNozzles(options.preset, &setup);
        return setup;
    }

    SprayerModel& model() { return mModel; }
    void setSpeed(double kmh) { mModel.setSpeedKmh(kmh); }
    void setMaster(bool on) { mMaster = on; }
    void setSection(uint32_t section, bool on)
    {
        const uint32_t bit = 1u << (section - 1);
        mSwitches = on ? mSwitches | bit : mSwitches & ~bit;
    }

    // The console's target, l/ha.
    static double targetLha() { return regulBoostedTarget() / 10.0; }

    // The rate the sprayer applies now, l/ha (0 while it sprays nothing).
    double appliedRate() const
    {
        const double ground = mDrive.master ? mModel.speedKmh() * mModel.workingWidthM(mDrive.openSections) : 0.0;
        return ground > 0.0 ? sprayedFlowLpm() * 600.0 / ground : 0.0;
    }

    // Runs ms; every kSampleMs the applied rate is appended to rates.
    void run(uint32_t ms, std::vector<double>* rates = nullptr)
    {
        const uint32_t end = mNow + ms;
        while (mNow < end) {
            uint32_t next = std::min({end, mNextProcess, mNextRegulation, mNextPoll, mNextSample});
            if (mPulseEnd != 0)
                next = std::min(next, mPulseEnd);
            for (const Timer& t : mTimers)
                next = std::min(next, t.at);
            advance(next - mNow);
            if (mPulseEnd != 0 && mNow >= mPulseEnd) {
                mDrive.valveDutyPerMille = 0;
                mPulseEnd = 0;
            }
            if (mNow >= mNextPoll) {
                postFlowReport();
                mNextPoll += kFlowPollMs;
            }
            if (mNow >= mNextProcess) {
                timed([this] { processTick(); });
                mNextProcess += kProcessTickMs;
            }
            if (mNow >= mNextRegulation) {
                timed([this] { regulate(EV_REGULATION_TICK, 0); });
                mNextRegulation += kRegulationTickMs;
            }
            fireTimers();
            if (mNow >= mNextSample) {
                if (rates)
                    rates->push_back(appliedRate());
                mNextSample += kSampleMs;
            }
        }
    }

    // Processor time the console's core took so far, and the time simulated.
    double consoleCpuSeconds() const { return mCpuSeconds; }
    double simulatedSeconds() const { return mNow / 1000.0; }

private:
    struct Timer {
        uint32_t at;
        uint32_t id;
    };

    static SprayerLoop*& active()
    {
        static SprayerLoop* loop = nullptr;
        return loop;
    }

    static void setItemValue(uint32_t id, uint32_t value) { datastoreSetFromUint32(id, value); }

    // The console's first start on this board: every item at its default, then
    // the installer's configuration file read, the tip table and the nozzle
    // presets as the process start leaves them.
    static void firstStart(const SprayerSetup& setup)
    {
        // The file layer reads through the memory pool, as on the device.
        static char pool[1 << 20];
        static const bool poolReady = memInit(pool, sizeof pool, 16384) == 1;
        (void)poolReady;
        writeTextFile(cfgdtConfigFilePath(), sprayerConfigText(setup));
        xmlReaderReset();
        ValidateData(1);
        cfgdtInitSectionTips(1);
        for (uint32_t section = 1; section <= setup.sections; ++section)
            cfgdtSetSectionTips(section, setup.nozzlesPerSection);
        nozinfoInit(1);
        nozpresetInit(1);
        processSetAllSectionsAvailable();
        processApplyImportedConfig();
    }

    static void fitPresetNozzles(uint32_t preset, SprayerSetup* setup)
    {
        cycleenv::workDir();
        nozinfoInit(1);
        nozpresetInit(1);
        const uint32_t refFlow = nozpresetSystemRefFlow(preset);    // l/min x 1000
        const uint32_t refPressure = nozpresetRefPressure(preset);  // bar x 100
        if (refFlow != 0 && refPressure != 0) {
            setup->nozzleRefFlowLpm = refFlow / 1000.0;
            setup->nozzleRefBar = refPressure / 100.0;
        }
    }

    double sprayedFlowLpm() const { return mModel.sprayedFlowLpm(); }

    template <typename Work>
    void timed(Work work)
    {
        timespec a{}, b{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
        work();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
        mCpuSeconds += (b.tv_sec - a.tv_sec) + (b.tv_nsec - a.tv_nsec) / 1e9;
    }

    void advance(uint32_t ms)
    {
        if (ms == 0)
            return;
        mModel.step(mDrive, ms);
        clockAdvanceMs(ms);
        mNow += ms;
    }

    // The flow input's report: the pulses since the last poll, timed at the meter's present pulse rate.
    void postFlowReport()
    {
        mHeldPulses += mModel.takeFlowPulses();
        mHeldMs += kFlowPollMs;
        const uint32_t count = std::min<uint32_t>(mHeldPulses, 0x1FF);
        const double hz = mModel.flowMeterHz();
        uint32_t timeUs = std::min<uint32_t>(mHeldMs, 2000) * 1000;
        if (count > 0 && hz > 0.0)
            timeUs = static_cast<uint32_t>(std::min(std::lround(count * 1e6 / hz), 2000000L));
        io_ifFrequencyCallback(StandinFpga::reportWord(count, count > 0 ? timeUs : 0, false), 1);
        mHeldPulses -= count;
        mHeldMs -= std::min(mHeldMs, timeUs / 1000);
    }

    void processTick()
    {
        uint16_t block[7] = {static_cast<uint16_t>(mSwitches << 1), 0, 0, 0, 0, 0, 0};
        datastoreSetData(DS_SECTION_STATE_BLOCK, block);
        setItemValue(DS_MASTER_SWITCH, mMaster ? 1 : 0);
        pulsSetCounterParam(17, static_cast<uint32_t>(std::lround(mModel.speedKmh() * 100.0)));
        setItemValue(DS_LIVE_PRESSURE_RAW, mModel.pressureReading());
        const uint32_t before = getItem(DS_SPRAYING_ACTIVE);
        processUpdateSprayState(0);
        const uint32_t spraying = getItem(DS_SPRAYING_ACTIVE);
        if (spraying != before) {
            regulate(EV_SPRAYING_CHANGED, spraying);
            dropTimer(EV_REG_START_DELAY_DONE);
            if (spraying != 0)
                mTimers.push_back({mNow + getItem(DS_REG_START_DELAY) * 100, EV_REG_START_DELAY_DONE});
        }
        // The master valve and the section outputs follow the spraying state and the switches.
        mDrive.master = spraying != 0;
        mDrive.openSections = mSwitches;
        processMeasurementStep();
        takeEvents();
    }

    void regulate(uint32_t id, uint32_t arg)
    {
        const RegulState before = regulGetState();
        regulHandleEvent(id, arg);
        const RegulState after = regulGetState();
        if (after == before)
            return;
        // The state timer the regulation starts on entering these states.
        if (after == REG_REGULATING || after == REG_STOP_DELAY) {
            dropTimer(EV_REG_STATE_TIMER);
            mTimers.push_back({mNow + 5000, EV_REG_STATE_TIMER});
        } else if (after == REG_ANTICIPATE && before == REG_STOP_DELAY) {
            dropTimer(EV_REG_STATE_TIMER);
            mTimers.push_back({mNow + 300000, EV_REG_STATE_TIMER});
        }
    }

    void dropTimer(uint32_t id)
    {
        mTimers.erase(std::remove_if(mTimers.begin(), mTimers.end(), [id](const Timer& t) { return t.id == id; }),
                      mTimers.end());
    }

    void fireTimers()
    {
        for (size_t i = 0; i < mTimers.size();) {
            if (mTimers[i].at <= mNow) {
                const uint32_t id = mTimers[i].id;
                mTimers.erase(mTimers.begin() + long(i));
                timed([this, id] { regulate(id, 0); });
                i = 0;
            } else {
                ++i;
            }
        }
    }

    // The regulation's H-bridge commands reach the valve's motor: continuous
    // duty, a pulse of some milliseconds, or an on/off pattern.
    static int valveCommand(uint32_t channel, uint32_t command, uint32_t time, uint32_t pattern, uint32_t duty)
    {
        SprayerLoop* loop = active();
        if (loop == nullptr || channel != 0)
            return 1;
        uint32_t perMille = command == HBRIDGE_STOP ? 0 : duty * 1000 / REG_DUTY_FULL;
        loop->mPulseEnd = 0;
        if (pattern != 0)
            perMille = perMille * std::min(time, pattern) / pattern;
        else if (time != 0 && perMille != 0)
            loop->mPulseEnd = loop->mNow + time;
        loop->mDrive.valveDutyPerMille = perMille;
        loop->mDrive.valveOpening = sprayerValveOpens(command == HBRIDGE_FORWARD);
        return 1;
    }

    SprayerModel mModel;
    SprayerDrive mDrive;
    bool mMaster = true;
    uint32_t mSwitches = 0;
    uint32_t mNow = 0;
    uint32_t mNextProcess = 0, mNextRegulation = 0, mNextPoll = 0, mNextSample = 0;
    uint32_t mPulseEnd = 0;
    std::vector<Timer> mTimers;
    uint32_t mHeldPulses = 0, mHeldMs = 0;
    double mCpuSeconds = 0.0;
};

// ---- The scenario table and what is judged of each row ----

enum class LoopStep { Speed, SectionOff, SectionOn, MasterOff, MasterOn };

struct LoopScenario {
    const char* name;
    double fromKmh;
    LoopStep step;
    double toKmh;  // the speed after a speed step
};

inline const std::vector<LoopScenario>& loopScenarios()
{
    static const std::vector<LoopScenario> rows = {
        {"speed 8 -> 12 km/h", 8.0, LoopStep::Speed, 12.0},  {"speed 12 -> 4 km/h", 12.0, LoopStep::Speed, 4.0},
        {"speed 4 -> 8 km/h", 4.0, LoopStep::Speed, 8.0},    {"speed 8 -> 16 km/h", 8.0, LoopStep::Speed, 16.0},
        {"section 3 off", 8.0, LoopStep::SectionOff, 8.0},   {"section 3 on", 8.0, LoopStep::SectionOn, 8.0},
        {"master off and on", 8.0, LoopStep::MasterOn, 8.0},
    };
    return rows;
}

// The rate after a step, sampled every 100 ms, judged against a band of +-5 %.
struct LoopResponse {
    double settlingS = -1.0;    // the last return into the band; -1 never back or not staying
    double firstBackS = -1.0;   // the first time within the band
    int excursions = 0;         // times it left the band after it first came back
    double steadyErrorPercent = 0.0;  // mean of the last 10 s against the target
    double ripplePercent = 0.0;       // largest deviation in the last 10 s
    bool insideAtEnd = false;
};

inline LoopResponse judgeResponse(const std::vector<double>& rates, double target)
{
    constexpr double kBand = 0.05;
    constexpr size_t kTail = 100;  // 10 s of samples
    LoopResponse r;
    bool inside = false;
    size_t lastEntry = 0;
    for (size_t i = 0; i < rates.size(); ++i) {
        const bool now = std::fabs(rates[i] - target) <= kBand * target;
        if (now && !inside) {
            lastEntry = i;
            if (r.firstBackS < 0.0)
                r.firstBackS = i * 0.1;
        }
        if (!now && inside)
            ++r.excursions;
        inside = now;
    }
    r.insideAtEnd = inside;
    if (inside)
        r.settlingS = lastEntry * 0.1;
    const size_t from = rates.size() > kTail ? rates.size() - kTail : 0;
    double sum = 0.0;
    for (size_t i = from; i < rates.size(); ++i) {
        sum += rates[i];
        r.ripplePercent = std::max(r.ripplePercent, std::fabs(rates[i] - target) * 100.0 / target);
    }
    if (rates.size() > from)
        r.steadyErrorPercent = std::fabs(sum / double(rates.size() - from) - target) * 100.0 / target;
    return r;
}

// Runs one row: the sprayer settles at the starting speed, the step comes,
// and the rate is sampled for windowMs after it.
inline LoopResponse runLoopScenario(const LoopScenario& row, const SprayerLoop::Options& base, uint32_t windowMs,
                                    double* cpuShare = nullptr)
{
    SprayerLoop::Options options = base;
    options.speedKmh = row.fromKmh;
    SprayerLoop loop(options);
    if (row.step == LoopStep::SectionOn)
        loop.setSection(3, false);
    loop.run(20000);
    // The master switch is off for 2 s before the step brings it back.
    if (row.step == LoopStep::MasterOn) {
        loop.setMaster(false);
        loop.run(2000);
    }
    std::vector<double> rates;
    switch (row.step) {
    case LoopStep::Speed: loop.setSpeed(row.toKmh); break;
    case LoopStep::SectionOff: loop.setSection(3, false); break;
    case LoopStep::SectionOn: loop.setSection(3, true); break;
    case LoopStep::MasterOff: loop.setMaster(false); break;
    case LoopStep::MasterOn: loop.setMaster(true); break;
    }
    loop.run(windowMs, &rates);
    if (cpuShare)
        *cpuShare = loop.consoleCpuSeconds() / loop.simulatedSeconds();
    return judgeResponse(rates, SprayerLoop::targetLha());
}
