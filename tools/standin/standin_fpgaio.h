#pragma once
// Plays the FPGA extender's pins from the board's side of the stand-in register
// file (dev/uio0 below a root): input levels, the output levels and modes the
// console set, the PWM channels, frequency reports, and the boom's wiring that
// loops every section output, the master valve and the fill valve back to
// their feedback inputs. A test breaks a loop to make an output fail.
//
// Pins are the extender's own numbers: general pins 1..43, PWM channels
// 44..48, plain inputs 49..54, plain outputs 55..64, frequency inputs 66..83.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class StandinFpga {
public:
    enum class PinMode { Unknown, Input, Output, Pwm, Frequency };

    struct PwmState {
        bool enabled;          // the channel runs as PWM
        uint32_t periodTicks;  // 15 MHz ticks, 0 when not configured
        uint32_t frequencyHz;  // from the period, 0 without one
        uint32_t dutyPerMille; // on-time share of the period, rounded
        bool inverted;         // the direction (polarity) flag
    };

    // Maps the register file of the root and starts the loops (see startLoops).
    explicit StandinFpga(const std::string& root);
    ~StandinFpga();
    StandinFpga(const StandinFpga&) = delete;
    StandinFpga& operator=(const StandinFpga&) = delete;

    // False when the register file could not be mapped; every call then does nothing.
    bool ok() const { return mBase != nullptr; }

    // Level the console reads on an input pin (general, plain or frequency input).
    bool setInput(uint32_t pin, bool level);
    // Output level driven on a general pin or plain output; -1 for other pins.
    int output(uint32_t pin) const;
    PinMode mode(uint32_t pin) const;
    PwmState pwm(uint32_t channel) const;
    // H-bridge control of channel 44/45 or 46/47.
    bool bridgeControl(uint32_t channel) const;
    // Output enable of the tristate lines 59, 64 and 65 (set by a control value of 0).
    bool tristateEnabled(uint32_t line) const;

    // A frequency input's report word: pulse count (9 bits), time in µs (21 bits)
    // and the timer-wrap flag.
    static uint32_t reportWord(uint32_t count, uint32_t timeUs, bool wrapped);
    // Posts a report on frequency input pin 66..83 and flags it pending.
    bool report(uint32_t pin, uint32_t word);
    // True until the console has taken the input's report.
    bool reportPending(uint32_t pin) const;

    // The loops: every millisecond each looped output's level is copied to its
    // feedback input. Started by the constructor.
    void startLoops();
    void stopLoops();
    // One copy of the looped outputs now.
    void mirror();
    // Cuts the loop of an output pin (section, master or fill output): its
    // feedback input then holds stuckLevel. Restoring reconnects it.
    bool breakLoop(uint32_t outputPin, bool stuckLevel);
    bool restoreLoop(uint32_t outputPin);

private:
    uint32_t read(uint32_t offset) const;
    void setBits(uint32_t offset, uint32_t bits, bool on);
    void loopThread();

    volatile uint32_t* mBase = nullptr;
    std::mutex mLoopLock;
    // Per loop: 0 connected, 1 broken with feedback 0, 2 broken with feedback 1.
    uint8_t mLoopState[14] = {};
    std::thread mThread;
    std::mutex mWakeLock;
    std::condition_variable mWake;
    bool mStop = false;
};

// The power-button line (GPIO 153) pressed or released.
bool standinSetPowerButton(const std::string& root, bool pressed);
