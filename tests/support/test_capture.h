#pragma once
// Capturing what code under test prints, and running code in a child process.
#include <functional>
#include <string>

// Sends standard output into a file until text() or destruction.
class StdoutCapture {
public:
    explicit StdoutCapture(const std::string& path);
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // What was written so far, while the capture goes on.
    std::string peek() const;
    // Ends the capture and returns everything written.
    std::string text();

private:
    void restore();
    std::string mPath;
    int mSaved;
};

enum class ChildOutput { StdoutAndStderr, StderrOnly };

// Runs body in a forked child with its standard output and error (or only its
// error stream) going to output; returns the child's exit status, or -1 when it
// did not exit normally.
int runInChild(const std::function<int()>& body, std::string* output,
               ChildOutput captured = ChildOutput::StdoutAndStderr);

// For the body of runInChild: from now on no file of the process grows beyond
// bytes, as on a full medium (the write that reaches the limit is cut short, the
// next one fails) and the process is not killed for it. kNoFileSizeLimit lifts
// the limit again, as when space comes back. False when the limit cannot be set.
constexpr unsigned long long kNoFileSizeLimit = ~0ull;
bool limitFileSize(unsigned long long bytes);
