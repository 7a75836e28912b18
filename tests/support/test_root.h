#pragma once
// A fresh stand-in system root for one test: a temporary directory laid out by
// the stand-in board, with CONSOLE_SYSROOT pointing at it. Removed on destruction,
// when the root that was set before (the test program's own) is restored.
#include <string>

class TestRoot {
public:
    TestRoot();
    ~TestRoot();
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;

    const std::string& dir() const { return mDir; }
    // Path of a fixed absolute path below this root.
    std::string path(const std::string& fixedPath) const { return mDir + fixedPath; }

private:
    std::string mDir;
    std::string mPrevious;
};

// Runs a scope without a system root (to check the device's own paths) and
// restores the root that was set before. Nothing may be created in that scope.
class NoSystemRoot {
public:
    NoSystemRoot();
    ~NoSystemRoot();
    NoSystemRoot(const NoSystemRoot&) = delete;
    NoSystemRoot& operator=(const NoSystemRoot&) = delete;

private:
    std::string mPrevious;
};

// Reads a whole file into a string (empty when it cannot be read).
std::string readTextFile(const std::string& path);
// Writes a whole file; returns true on success.
bool writeTextFile(const std::string& path, const std::string& text);
// Removes a directory tree; returns true when it is gone.
bool removeTree(const std::string& path);
