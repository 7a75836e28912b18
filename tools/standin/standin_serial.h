#pragma once
// Serial ports of the stand-in board: four pseudo-terminals in raw mode whose
// slave sides are linked as <root>/dev/ttyO0..ttyO3. Whoever plays the far end
// keeps the object and reads and writes the master descriptors; the ports live
// as long as the object.
#include <string>

class StandinSerial {
public:
    static constexpr int kPorts = 4;

    StandinSerial() = default;
    ~StandinSerial();
    StandinSerial(const StandinSerial&) = delete;
    StandinSerial& operator=(const StandinSerial&) = delete;

    // Creates the pseudo-terminals and the links below root (replacing older
    // links). Returns true when all four ports are ready.
    bool create(const std::string& root);
    // Closes every descriptor; the links then dangle.
    void close();
    // Master descriptor of port 0..3, -1 when not created.
    int master(int port) const;
    // Path of the slave side of port 0..3, empty when not created.
    const std::string& slavePath(int port) const;

private:
    int mMaster[kPorts] = {-1, -1, -1, -1};
    // Held open so that the far end never sees a hang-up between two opens of
    // the console side.
    int mSlave[kPorts] = {-1, -1, -1, -1};
    std::string mSlavePath[kPorts];
};
