#pragma once
// The Sectrix boom-section controller for the stand-in board: a node on the
// stand-in CAN bus of the console's channel 0 that reports its status word and
// mode every kReportMs, its version when it is switched on, and keeps the
// section states the console sends. A mode request of the console (byte 1 of
// its mode frame going to 1) flips the unit between manual and automatic.
//
// Lives in a library of its own (standinsectrix): it talks through the drivers'
// stand-in bus, which the rest of the stand-in board does not link.
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>

struct SectrixUnitState {
    bool on = true;                // answering on the bus; off, it neither sends nor listens
    bool automatic = false;        // the unit's mode
    uint16_t statusWord = 0xFFFF;  // bit i-1 allows section i
    uint32_t sectionStates = 0;    // from the console's last status frame (24 bits)
    uint32_t framesReceived = 0;   // frames of the console while on
    bool modeRequestHeld = false;  // the console's mode request is at 1 (a new request needs a 0 first)
};

class StandinSectrix {
public:
    static constexpr uint32_t kReportMs = 250;
    static constexpr uint16_t kVersionWord = 0x0102;
    static constexpr uint32_t kVersionValue = 0x00010002;
    // Channel 0 is socketcan port 0, whose interface is "can0".
    static constexpr const char* kInterface = "can0";

    // The unit on the bus of kInterface below the stand-in root.
    explicit StandinSectrix(const std::string& root);
    ~StandinSectrix();
    StandinSectrix(const StandinSectrix&) = delete;
    StandinSectrix& operator=(const StandinSectrix&) = delete;

    // Binds the unit's socket and starts its thread; false when the bus cannot
    // be opened. The unit starts on, in manual mode, with every section allowed.
    bool start();
    void stop();

    // Control lines "sectrix on|off|auto|manual|allow <hex>|status": the answer
    // line, or an error line starting with "?".
    std::string command(const std::string& line);
    // True for the lines that command() serves (first word "sectrix").
    static bool handles(const std::string& line);

    SectrixUnitState state() const;

private:
    void run();
    void receive();
    void handleFrame(const uint8_t* data, uint8_t dlc);
    // These send the unit's frames; the caller holds mLock.
    void send(std::initializer_list<uint8_t> bytes);
    void sendReports();
    void sendPowerOn();
    void setOn(bool on);
    void setAutomatic(bool automatic);
    std::string statusLine() const;

    std::string mBusDir;
    int mFd = -1;
    int mWake[2] = {-1, -1};
    mutable std::mutex mLock;
    SectrixUnitState mState;
    bool mStop = false;
    std::thread mThread;
};
