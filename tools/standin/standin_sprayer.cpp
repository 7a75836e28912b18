#include "standin_sprayer.h"

#include "standin_board.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

namespace {

// The board's wiring of the sprayer's sensors and valves (extender pin numbers).
const uint32_t kWheelPin = 80;  // frequency input 5
const uint32_t kFlowPin = 81;   // frequency input 1
const uint32_t kMasterOutput = 2;
// The operator's box has nine section switches; its master switch is then pin 39.
const uint32_t kMasterSwitchPin = 39;
const uint32_t kSectionSwitchPins[] = {32, 31, 34, 33, 36, 35, 38, 37, 40};
const uint32_t kSectionSwitches = sizeof kSectionSwitchPins / sizeof kSectionSwitchPins[0];
const uint32_t kSectionOutputs[] = {4, 6, 8, 10, 12, 14, 16, 18, 20, 24, 26, 28, 22};
const uint32_t kValvePwm = 44;
const int kSupplyChannel = 0;
const int kRevisionChannel = 1;
const int kPressureChannel = 4;
const int kTankChannel = 5;
// A healthy board: 13.8 V on the supply input, and the divider of hardware revision 7.
const uint16_t kSupplyReading = 1030;
const uint16_t kRevisionReading = 92;

// A report holds at most 511 pulses and 2.09 s.
const uint32_t kMaxReportPulses = 0x1FF;
const uint32_t kMaxReportMs = 2000;

uint16_t adcCounts(double share)
{
    return static_cast<uint16_t>(std::lround(std::clamp(share, 0.0, 1.0) * 1023.0));
}

// Rewrites the reading in place at a fixed width: the ADC driver keeps the file
// open and rereads it, so it must never see it truncated.
void writeAdc(const std::string& root, int channel, uint16_t value)
{
    const int fd = open(standinAdcInputPath(root, channel).c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    char text[8];
    const int n = std::snprintf(text, sizeof text, "%5u\n", static_cast<unsigned>(value));
    if (pwrite(fd, text, size_t(n), 0) != n)
        std::fprintf(stderr, "standin sprayer: could not write ADC channel %d\n", channel);
    close(fd);
}

}  // namespace

SprayerModel::SprayerModel(const SprayerSetup& setup)
    : mSetup(setup), mValve(std::clamp(setup.valveStartPosition, 0.0, 1.0)), mTankLitres(setup.tankCapacityLitres),
      mRandom(setup.seed * 0x9E3779B97F4A7C15ull + 1)
{
}

void SprayerModel::setSpeedKmh(double kmh)
{
    mSpeedKmh = std::max(0.0, kmh);
}

uint32_t SprayerModel::openNozzles(uint32_t openSections) const
{
    uint32_t sections = 0;
    for (uint32_t i = 0; i < mSetup.sections && i < 32; ++i)
        if (openSections & (1u << i))
            ++sections;
    return sections * mSetup.nozzlesPerSection;
}

double SprayerModel::workingWidthM(uint32_t openSections) const
{
    return openNozzles(openSections) * mSetup.nozzleSpacingMm / 1000.0;
}

// A standard normal number (Box-Muller over a splitmix64 sequence).
double SprayerModel::nextGaussian()
{
    auto uniform = [this] {
        uint64_t z = (mRandom += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return (static_cast<double>(z >> 11) + 0.5) / 9007199254740992.0;
    };
    const double u = uniform(), v = uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * M_PI * v);
}

// Flow through an orifice goes with the square root of the pressure across it:
// q = k sqrt(p), k in l/min at 1 bar. The pump gives q0 (1 - p / pStall).
// Where the pump meets the orifices k sqrt(p) (with s = sqrt(p)):
// q0 s^2 / pStall + k s - q0 = 0.
SprayerBalance SprayerModel::balanceFor(const SprayerDrive& drive) const
{
    SprayerBalance b;
    if (mTankLitres <= 0.0 || mSetup.pumpFlowLpm <= 0.0)
        return b;
    const double q0 = mSetup.pumpFlowLpm;
    const double nozzleK = mSetup.nozzleRefBar > 0.0 ? mSetup.nozzleRefFlowLpm / std::sqrt(mSetup.nozzleRefBar) : 0.0;
    const uint32_t allNozzles = mSetup.sections * mSetup.nozzlesPerSection;
    const uint32_t open = drive.master ? openNozzles(drive.openSections) : 0;
    const uint32_t returned = drive.master && mSetup.calibratedReturns ? allNozzles - open : 0;
    const double boomK = nozzleK * (open + returned);
    const double valveK = mSetup.valveFullKv * mValve * mValve;
    // In the return the valve sits beside the boom; in the line it is in series with it.
    double boomLineK = boomK, returnK = valveK;
    if (!mSetup.valveInReturn) {
        boomLineK = valveK > 0.0 && boomK > 0.0 ? valveK * boomK / std::sqrt(valveK * valveK + boomK * boomK) : 0.0;
        returnK = mSetup.valveLineReturnKv;
    }
    const double k = boomLineK + returnK;
    double s;
    if (mSetup.pumpStallBar <= 0.0)
        s = k > 0.0 ? q0 / k : 0.0;
    else if (k <= 0.0)
        s = std::sqrt(mSetup.pumpStallBar);
    else {
        const double a = q0 / mSetup.pumpStallBar;
        s = (-k + std::sqrt(k * k + 4.0 * a * q0)) / (2.0 * a);
    }
    b.pressureBar = s * s;
    b.pumpLpm = mSetup.pumpStallBar > 0.0 ? q0 * std::max(0.0, 1.0 - b.pressureBar / mSetup.pumpStallBar) : k * s;
    const double boomFlow = boomLineK * s;
    b.valveReturnLpm = returnK * s;
    if (boomK > 0.0) {
        const double boomS = boomFlow / boomK;
        b.boomBar = boomS * boomS;
        b.nozzleLpm = nozzleK * open * boomS;
        b.sectionReturnLpm = nozzleK * returned * boomS;
    }
    return b;
}

void SprayerModel::step(const SprayerDrive& drive, uint32_t ms)
{
    const double seconds = ms / 1000.0;
    // The motor stands below its dead zone and runs at full speed at full drive.
    if (mSetup.valveTravelMs > 0 && mSetup.valveDeadZone < 1.0) {
        const double drivenShare = std::min(drive.valveDutyPerMille, 1000u) / 1000.0;
        const double speed = std::max(0.0, drivenShare - mSetup.valveDeadZone) / (1.0 - mSetup.valveDeadZone);
        const double travel = speed * ms / mSetup.valveTravelMs;
        mValve = std::clamp(mValve + (drive.valveOpening ? travel : -travel), 0.0, 1.0);
    }
    mBalance = balanceFor(drive);
    double litres = mBalance.nozzleLpm * seconds / 60.0;
    if (litres > mTankLitres) {
        litres = mTankLitres;
        const double share =
            mBalance.nozzleLpm > 0.0 && seconds > 0.0 ? litres * 60.0 / seconds / mBalance.nozzleLpm : 0.0;
        mBalance.nozzleLpm *= share;
        mBalance.sectionReturnLpm *= share;
    }
    mTankLitres -= litres;
    mSprayedLitres += litres;
    const double metres = mSpeedKmh / 3.6 * seconds;
    const uint32_t nozzles = drive.master ? openNozzles(drive.openSections) : 0;
    if (nozzles > 0) {
        mSprayedDistanceM += metres;
        mSprayedAreaM2 += metres * workingWidthM(drive.openSections);
    }
    mWheelPulses += metres * mSetup.speedPulsesPer100m / 100.0;
    // The turbine's pulse rate wanders about the true flow, correlated over some 100 ms.
    const double keep = std::exp(-static_cast<double>(ms) / 100.0);
    mJitter = keep * mJitter + std::sqrt(1.0 - keep * keep) * mSetup.flowMeterJitter * nextGaussian();
    mFlowPulses += std::max(0.0, flowLpm() * seconds / 60.0 * mSetup.flowPulsesPerLitre * (1.0 + mJitter));
}

uint32_t SprayerModel::takeWheelPulses()
{
    const double whole = std::floor(mWheelPulses);
    mWheelPulses -= whole;
    return static_cast<uint32_t>(whole);
}

uint32_t SprayerModel::takeFlowPulses()
{
    const double whole = std::floor(mFlowPulses);
    mFlowPulses -= whole;
    return static_cast<uint32_t>(whole);
}

uint16_t SprayerModel::pressureReading() const
{
    return mSetup.pressureFullScaleBar > 0.0 ? adcCounts(mBalance.boomBar / mSetup.pressureFullScaleBar) : 0;
}

uint16_t SprayerModel::tankReading() const
{
    return mSetup.tankCapacityLitres > 0.0 ? adcCounts(mTankLitres / mSetup.tankCapacityLitres) : 0;
}

StandinSprayer::StandinSprayer(const std::string& root, StandinFpga& board, const SprayerSetup& setup)
    : mRoot(root), mBoard(board), mModel(setup)
{
    writeAdc(mRoot, kSupplyChannel, kSupplyReading);
    writeAdc(mRoot, kRevisionChannel, kRevisionReading);
    for (uint32_t section = 1; section <= kSectionSwitches; ++section)
        setSectionSwitch(section, true);
}

StandinSprayer::~StandinSprayer()
{
    stop();
}

void StandinSprayer::setMasterSwitch(bool on)
{
    mBoard.setInput(kMasterSwitchPin, on);
}

bool StandinSprayer::setSectionSwitch(uint32_t section, bool on)
{
    if (section < 1 || section > kSectionSwitches)
        return false;
    mBoard.setInput(kSectionSwitchPins[section - 1], on);
    mSectionSwitches = on ? (mSectionSwitches | 1u << (section - 1)) : (mSectionSwitches & ~(1u << (section - 1)));
    return true;
}

// A report the console has not taken yet stays; the pulses since then wait
// for the next one, so none is lost. Like the FPGA, a report times its pulses
// themselves (count periods at the present pulse rate), not the window they
// fell in, so that a steady rate reads steady.
void StandinSprayer::postReport(uint32_t pin, uint32_t pulses, uint32_t ms, double pulsesPerSecond,
                                uint32_t& heldPulses, uint32_t& heldMs)
{
    heldPulses += pulses;
    heldMs += ms;
    if (mBoard.reportPending(pin) && heldMs < kMaxReportMs)
        return;
    const uint32_t count = std::min(heldPulses, kMaxReportPulses);
    uint32_t reportUs = std::min(heldMs, kMaxReportMs) * 1000;
    if (count > 0 && pulsesPerSecond > 0.0)
        reportUs = static_cast<uint32_t>(std::min(std::lround(count * 1e6 / pulsesPerSecond), long(kMaxReportMs) * 1000));
    mBoard.report(pin, StandinFpga::reportWord(count, count > 0 ? reportUs : 0, false));
    heldPulses -= count;
    heldMs -= std::min(heldMs, reportUs / 1000);
}

void StandinSprayer::advance(uint32_t ms)
{
    SprayerDrive drive;
    drive.master = mBoard.output(kMasterOutput) == 1;
    for (uint32_t i = 0; i < sizeof kSectionOutputs / sizeof kSectionOutputs[0]; ++i)
        if (mBoard.output(kSectionOutputs[i]) == 1)
            drive.openSections |= 1u << i;
    const StandinFpga::PwmState valve = mBoard.pwm(kValvePwm);
    if (valve.enabled && mBoard.bridgeControl(kValvePwm)) {
        drive.valveDutyPerMille = std::min<uint32_t>(valve.dutyPerMille, 1000);
        drive.valveOpening = sprayerValveOpens(valve.inverted);
    }
    mDrive = drive;
    mModel.step(drive, ms);
}

void StandinSprayer::publish(uint32_t ms)
{
    const SprayerSetup& setup = mModel.setup();
    postReport(kWheelPin, mModel.takeWheelPulses(), ms, mModel.speedKmh() / 3.6 * setup.speedPulsesPer100m / 100.0,
               mHeldWheelPulses, mHeldWheelMs);
    postReport(kFlowPin, mModel.takeFlowPulses(), ms, mModel.flowMeterHz(), mHeldFlowPulses, mHeldFlowMs);
    writeAdc(mRoot, kPressureChannel, mModel.pressureReading());
    writeAdc(mRoot, kTankChannel, mModel.tankReading());
}

void StandinSprayer::step(uint32_t ms)
{
    std::lock_guard<std::mutex> guard(mLock);
    advance(ms);
    publish(ms);
}

std::string StandinSprayer::command(const std::string& line)
{
    std::istringstream in(line);
    std::string word, argument;
    in >> word >> argument;
    std::lock_guard<std::mutex> guard(mLock);
    std::ostringstream out;
    if (word == "speed") {
        char* end = nullptr;
        const double kmh = std::strtod(argument.c_str(), &end);
        if (argument.empty() || *end != '\0' || !(kmh >= 0.0) || kmh > 60.0)
            return "? speed takes km/h from 0 to 60";
        mSetSpeedKmh = kmh;
        mModel.setSpeedKmh(kmh);
        out << "speed " << kmh << " km/h";
    } else if (word == "stop") {
        mModel.setSpeedKmh(0.0);
        out << "stopped";
    } else if (word == "go") {
        mModel.setSpeedKmh(mSetSpeedKmh);
        out << "driving at " << mSetSpeedKmh << " km/h";
    } else if (word == "master" && (argument == "on" || argument == "off")) {
        setMasterSwitch(argument == "on");
        out << "master switch " << argument;
    } else if (word == "section") {
        std::string state;
        in >> state;
        char* end = nullptr;
        const long section = std::strtol(argument.c_str(), &end, 10);
        if (argument.empty() || *end != '\0' || (state != "on" && state != "off") ||
            !setSectionSwitch(static_cast<uint32_t>(std::clamp(section, 0L, 99L)), state == "on"))
            return "? section takes a switch 1 to " + std::to_string(kSectionSwitches) + " and on or off";
        out << "section switch " << section << " " << state;
    } else if (word == "refill") {
        mModel.refill();
        out << "tank full: " << mModel.tankLitres() << " l";
    } else if (word == "status") {
        // What the console sees, then where the pump's flow goes at the pressure that balances it.
        const SprayerBalance& b = mModel.balance();
        char text[400];
        std::snprintf(text, sizeof text,
                      "speed %.1f km/h, master %s, switches %03X, sections %03X, valve %.0f %% (drive %+.1f %%), "
                      "flow %.1f l/min, pressure %.2f bar, tank %.0f l; pump %.1f l/min at %.2f bar = "
                      "valve return %.1f + nozzles %.1f + section returns %.1f",
                      mModel.speedKmh(), mDrive.master ? "open" : "closed", mSectionSwitches, mDrive.openSections,
                      mModel.valvePosition() * 100.0,
                      (mDrive.valveOpening ? 1.0 : -1.0) * mDrive.valveDutyPerMille / 10.0, mModel.flowLpm(),
                      mModel.pressureBar(), mModel.tankLitres(), b.pumpLpm, b.pressureBar, b.valveReturnLpm,
                      b.nozzleLpm, b.sectionReturnLpm);
        out << text;
    } else {
        return "? commands: speed <km/h>, stop, go, master on|off, section <n> on|off, refill, status";
    }
    return out.str();
}

SprayerModel StandinSprayer::model() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mModel;
}

SprayerDrive StandinSprayer::drive() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mDrive;
}

// The valve follows the drive every kDriveMs, so that the console's short
// steps move it as far as they last; the sensors report every kStepMs.
void StandinSprayer::run()
{
    auto last = std::chrono::steady_clock::now();
    uint32_t sincePublished = 0;
    std::unique_lock<std::mutex> wake(mWakeLock);
    while (!mStop) {
        mWake.wait_for(wake, std::chrono::milliseconds(kDriveMs), [this] { return mStop; });
        if (mStop)
            break;
        wake.unlock();
        const auto now = std::chrono::steady_clock::now();
        const auto ms =
            static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count());
        last += std::chrono::milliseconds(ms);
        {
            std::lock_guard<std::mutex> guard(mLock);
            advance(ms);
            sincePublished += ms;
            if (sincePublished >= kStepMs) {
                publish(sincePublished);
                sincePublished = 0;
            }
        }
        wake.lock();
    }
}

void StandinSprayer::start()
{
    if (!mBoard.ok() || mThread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(mWakeLock);
        mStop = false;
    }
    mThread = std::thread(&StandinSprayer::run, this);
}

void StandinSprayer::stop()
{
    if (!mThread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(mWakeLock);
        mStop = true;
    }
    mWake.notify_all();
    mThread.join();
}
