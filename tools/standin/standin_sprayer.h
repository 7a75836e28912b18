#pragma once
// A sprayer at work for the stand-in board: a tractor at a set speed, a pump
// whose flow the regulating valve (moved by the H-bridge) shares between the
// tank and the boom, the nozzles of the open sections, the flow meter, the
// pressure sensor and the tank.
//
// SprayerModel is the physics alone, stepped by the caller; StandinSprayer
// plays it on a board: it reads the valve outputs and the H-bridge from the
// FPGA registers, posts the wheel and flow-meter pulses as frequency reports
// and writes the pressure and tank readings to the ADC inputs.
#include "standin_fpgaio.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

struct SprayerSetup {
    uint32_t sections = 9;
    uint32_t nozzlesPerSection = 6;
    uint32_t nozzleSpacingMm = 500;
    double speedPulsesPer100m = 1000.0;  // the console's speed calibration
    double flowPulsesPerLitre = 650.0;   // the console's flow calibration
    // The pump: its flow against no pressure, falling in proportion to the
    // pressure until it stalls.
    double pumpFlowLpm = 200.0;
    double pumpStallBar = 100.0;
    // The regulating valve: in the return (a bypass that sends the pump's
    // surplus back to the tank; opening it lowers the rate) or in the line to
    // the boom (a throttle; opening it raises the rate), as the installer's
    // valve type says. Fully open it passes valveFullKv l/min at 1 bar, and
    // with the square of its opening; in the line a fixed return valveLineReturnKv
    // beside it takes the surplus.
    bool valveInReturn = true;
    double valveFullKv = 800.0;
    double valveLineReturnKv = 60.0;
    uint32_t valveTravelMs = 5000;     // closed to open at full drive
    double valveDeadZone = 0.2;        // share of full drive the motor needs before it moves
    // The least drive the installer gives the regulation for this valve, 0.1 V
    // of the 12 V supply: 5.0 V runs the motor at a quarter of its speed.
    uint32_t valveMinDriveDecivolts = 50;
    double valveStartPosition = 0.5;   // 0 closed .. 1 open
    // The nozzles are orifices: each passes nozzleRefFlowLpm at nozzleRefBar.
    double nozzleRefFlowLpm = 0.327;
    double nozzleRefBar = 2.0;
    // A closed section sends its nozzles' flow back to the tank through a
    // calibrated return (3-way section valves, the pressure stays), or not
    // (2-way: the pressure and the other nozzles' flow rise).
    bool calibratedReturns = false;
    double flowMeterJitter = 0.01;     // the turbine's pulse rate wanders by this share
    uint32_t seed = 1;                 // of the jitter
    double tankCapacityLitres = 3000.0;
    double pressureFullScaleBar = 25.0;  // the sensor's reading at ADC count 1023
};

// The H-bridge's forward drive (the PWM's polarity flag set) closes the
// regulating valve, the reverse drive opens it.
inline bool sprayerValveOpens(bool forwardDrive)
{
    return !forwardDrive;
}

// What the console drives: the valves and the regulating valve's H-bridge.
struct SprayerDrive {
    bool master = false;
    uint32_t openSections = 0;  // bit i: section i+1 open
    uint32_t valveDutyPerMille = 0;
    bool valveOpening = false;  // direction of the regulating valve's motor
};

// Where the pump's flow goes at the pressure that balances it (l/min, bar).
struct SprayerBalance {
    double pressureBar = 0.0;       // at the pump; the boom's sensor reads boomBar
    double boomBar = 0.0;
    double pumpLpm = 0.0;
    double valveReturnLpm = 0.0;    // back to the tank through the regulating valve or the line's return
    double nozzleLpm = 0.0;         // sprayed by the open sections
    double sectionReturnLpm = 0.0;  // through the closed sections' calibrated returns
};

class SprayerModel {
public:
    explicit SprayerModel(const SprayerSetup& setup = SprayerSetup());

    const SprayerSetup& setup() const { return mSetup; }
    void setSpeedKmh(double kmh);
    double speedKmh() const { return mSpeedKmh; }
    void refill() { mTankLitres = mSetup.tankCapacityLitres; }

    // Advances the sprayer by ms under the drive; the pressures settle at once.
    void step(const SprayerDrive& drive, uint32_t ms);
    // The balance for a drive at the valve's present position (step() keeps the last one).
    SprayerBalance balanceFor(const SprayerDrive& drive) const;

    double valvePosition() const { return mValve; }  // 0 closed .. 1 open
    const SprayerBalance& balance() const { return mBalance; }
    double flowLpm() const { return mBalance.nozzleLpm + mBalance.sectionReturnLpm; }  // through the meter
    double sprayedFlowLpm() const { return mBalance.nozzleLpm; }
    double pressureBar() const { return mBalance.boomBar; }
    // The flow meter's present pulse rate, jitter included.
    double flowMeterHz() const { return flowLpm() / 60.0 * mSetup.flowPulsesPerLitre * (1.0 + mJitter); }
    double tankLitres() const { return mTankLitres; }
    double sprayedLitres() const { return mSprayedLitres; }
    // Ground covered with the master valve and sections open: what the console's job counts.
    double sprayedAreaM2() const { return mSprayedAreaM2; }
    double sprayedDistanceM() const { return mSprayedDistanceM; }
    double workingWidthM(uint32_t openSections) const;

    // Whole pulses accrued since the last call; the fractions carry over.
    uint32_t takeWheelPulses();
    uint32_t takeFlowPulses();

    // ADC counts (0..1023) of the pressure sensor and the tank-level sensor.
    uint16_t pressureReading() const;
    uint16_t tankReading() const;

private:
    uint32_t openNozzles(uint32_t openSections) const;
    double nextGaussian();

    SprayerSetup mSetup;
    double mSpeedKmh = 0.0;
    double mValve;
    SprayerBalance mBalance;
    double mTankLitres;
    double mSprayedLitres = 0.0;
    double mSprayedAreaM2 = 0.0;
    double mSprayedDistanceM = 0.0;
    double mWheelPulses = 0.0;
    double mFlowPulses = 0.0;
    double mJitter = 0.0;
    uint64_t mRandom;
};

class StandinSprayer {
public:
    static constexpr uint32_t kStepMs = 100;  // the sensors' reports
    static constexpr uint32_t kDriveMs = 10;  // the valves read and the sprayer moved

    StandinSprayer(const std::string& root, StandinFpga& board, const SprayerSetup& setup = SprayerSetup());
    ~StandinSprayer();
    StandinSprayer(const StandinSprayer&) = delete;
    StandinSprayer& operator=(const StandinSprayer&) = delete;

    // Runs on a thread of its own until stop(): the sprayer follows the drive
    // every kDriveMs and reports its sensors every kStepMs.
    void start();
    void stop();
    // One step of ms now: the drive read once, the sprayer moved, the sensors reported.
    void step(uint32_t ms);

    // The control: "speed <km/h>", "stop", "go", "master on|off",
    // "section <n> on|off" (the operator's section switches, all on at start),
    // "refill", "status". Returns the answer line, or an error line starting with "?".
    std::string command(const std::string& line);

    SprayerModel model() const;
    SprayerDrive drive() const;

private:
    void setMasterSwitch(bool on);
    bool setSectionSwitch(uint32_t section, bool on);
    void postReport(uint32_t pin, uint32_t pulses, uint32_t ms, double pulsesPerSecond, uint32_t& heldPulses,
                    uint32_t& heldMs);
    // Both with mLock held: the drive read and the sprayer moved by ms; the sensors' reports over ms.
    void advance(uint32_t ms);
    void publish(uint32_t ms);
    void run();

    std::string mRoot;
    StandinFpga& mBoard;
    mutable std::mutex mLock;
    SprayerModel mModel;
    SprayerDrive mDrive;
    double mSetSpeedKmh = 0.0;  // the speed that "go" drives on with
    uint32_t mSectionSwitches = 0;  // bit i: switch i+1 on
    uint32_t mHeldWheelPulses = 0, mHeldWheelMs = 0;
    uint32_t mHeldFlowPulses = 0, mHeldFlowMs = 0;
    std::thread mThread;
    std::mutex mWakeLock;
    std::condition_variable mWake;
    bool mStop = false;
};
