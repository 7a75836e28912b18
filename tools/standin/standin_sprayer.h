#pragma once
// A sprayer at work for the stand-in board: a tractor at a set speed, the
// regulating valve moved by the H-bridge, the pump's flow through the open
// sections, the flow meter, the pressure sensor and the tank.
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
    double maxFlowLpm = 150.0;           // pump flow with the valve fully open and every section open
    uint32_t valveTravelMs = 5000;       // closed to open at full duty
    double tankCapacityLitres = 3000.0;
    double nozzleRefFlowLpm = 1.2;       // a nozzle's flow ...
    double nozzleRefBar = 3.0;           // ... at this pressure
    double pressureFullScaleBar = 25.0;  // the sensor's reading at ADC count 1023
};

// What the console drives: the valves and the regulating valve's H-bridge.
struct SprayerDrive {
    bool master = false;
    uint32_t openSections = 0;  // bit i: section i+1 open
    uint32_t valveDutyPerMille = 0;
    bool valveOpening = false;  // direction of the regulating valve's motor
};

class SprayerModel {
public:
    explicit SprayerModel(const SprayerSetup& setup = SprayerSetup());

    const SprayerSetup& setup() const { return mSetup; }
    void setSpeedKmh(double kmh);
    double speedKmh() const { return mSpeedKmh; }
    void refill() { mTankLitres = mSetup.tankCapacityLitres; }

    // Advances the sprayer by ms under the drive.
    void step(const SprayerDrive& drive, uint32_t ms);

    double valvePosition() const { return mValve; }  // 0 closed .. 1 open
    double flowLpm() const { return mFlowLpm; }
    double pressureBar() const { return mPressureBar; }
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

    SprayerSetup mSetup;
    double mSpeedKmh = 0.0;
    double mValve = 0.0;
    double mFlowLpm = 0.0;
    double mPressureBar = 0.0;
    double mTankLitres;
    double mSprayedLitres = 0.0;
    double mSprayedAreaM2 = 0.0;
    double mSprayedDistanceM = 0.0;
    double mWheelPulses = 0.0;
    double mFlowPulses = 0.0;
};

class StandinSprayer {
public:
    static constexpr uint32_t kStepMs = 100;

    StandinSprayer(const std::string& root, StandinFpga& board, const SprayerSetup& setup = SprayerSetup());
    ~StandinSprayer();
    StandinSprayer(const StandinSprayer&) = delete;
    StandinSprayer& operator=(const StandinSprayer&) = delete;

    // Runs a step every kStepMs on a thread of its own until stop().
    void start();
    void stop();
    // One step of ms now (what the thread does).
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
