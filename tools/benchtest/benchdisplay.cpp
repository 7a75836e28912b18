#include "benchdisplay.h"

#include "benchcommand.h"
#include "cmdrunner.h"
#include "sysroot.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kViewerDir = "/usr/local/velmar/bin";
const char* const kTouchDir = "/tmp";
const char* const kCloseViewer = "kill `pidof imageviewer` > /dev/null";

bool exists(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0;
}

// Runs the steps inside the directory and changes back; nothing when the current
// directory cannot be read or the directory cannot be entered.
template <typename Steps>
bool inDirectory(const char* fixedDir, Steps steps)
{
    char previous[150];
    if (!getcwd(previous, sizeof previous))
        return false;
    if (chdir(sysrootPath(fixedDir).c_str()) != 0)
        return false;
    steps();
    if (chdir(previous) != 0)
        perror("benchtest: chdir back");
    return true;
}

void closeViewer()
{
    if (cmdRun("pidof imageviewer > /dev/null") == 0)
        cmdRun(kCloseViewer);
}

void showImage(uint8_t number)
{
    inDirectory(kViewerDir, [number] {
        char image[32];
        std::snprintf(image, sizeof image, "images/test_%d.svg", number);
        if (!exists(image) || !exists("imageviewer"))
            return;
        const std::string command = std::string("./imageviewer ") + image +
                                    " $(fbset | grep geometry | awk '{ print $2 }')"
                                    " $(fbset | grep geometry | awk '{ print $3 }') -qws > /dev/null&";
        closeViewer();
        cmdRun(command);
    });
}

void startCalibration()
{
    inDirectory(kTouchDir, [] {
        if (exists("ts_calibrate.tmp"))
            cmdRun("rm ts_calibrate.tmp");
        if (exists("ts_calibrate.dat"))
            cmdRun("rm ts_calibrate.dat");
        cmdRun("ts_calibrate | grep \"Top\\|Bot\\|Center\" > ts_calibrate.dat &");
    });
}

size_t readCalibration(uint16_t values[10])
{
    for (int i = 0; i < 3; ++i)
        cmdRun("sync");
    inDirectory(kTouchDir, [] {
        if (!exists("ts_calibrate.dat"))
            return;
        cmdRun("sed -e 's/Top left ://g' -e 's/Top right ://g' -e 's/Bot right ://g' -e 's/Bot left ://g' "
               "-e 's/Center ://g' ts_calibrate.dat > ts_calibrate.tmp");
        cmdRun("rm ts_calibrate.dat");
        cmdRun("sed -e 's/ X =//g' -e 's/ Y =//g' ts_calibrate.tmp > ts_calibrate.dat");
        cmdRun("rm ts_calibrate.tmp");
    });
    size_t found = 0;
    for (int i = 0; i < 10; ++i)
        values[i] = 0;
    inDirectory(kTouchDir, [&] {
        FILE* file = std::fopen("ts_calibrate.dat", "r");
        if (!file)
            return;
        char text[100];
        const size_t length = std::fread(text, 1, sizeof text, file);
        std::fclose(file);
        found = benchParseCalibration(text, length, values);
    });
    return found;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

size_t benchParseCalibration(const char* text, size_t length, uint16_t values[10])
{
    size_t found = 0;
    for (size_t i = 0; i < 10; ++i)
        values[i] = 0;
    size_t at = 0;
    while (found < 10 && at < length) {
        if (!isDigit(text[at])) {
            ++at;
            continue;
        }
        char digits[9] = {};
        size_t n = 0;
        while (n < 8 && at < length && isDigit(text[at]))
            digits[n++] = text[at++];
        values[found++] = static_cast<uint16_t>(std::atoi(digits));
    }
    return found;
}

int benchHandleDisplay(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x2400, 1}, {0x2402, 0}};
    const BenchClaim claim = benchClaim(request, reply, commands, 2);
    if (claim != BENCH_EXECUTE)
        return claim;
    if (request.command == 0x2400) {
        showImage(benchPayload8(request, 0));
        benchSetReplyFrame(reply, 0x2401, nullptr, 0);
    } else {
        closeViewer();
        benchDone(reply);
    }
    return 1;
}

int benchHandleTouch(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x2500, 0}, {0x2502, 0}};
    const BenchClaim claim = benchClaim(request, reply, commands, 2);
    if (claim != BENCH_EXECUTE)
        return claim;
    if (request.command == 0x2500) {
        startCalibration();
        benchSetReplyFrame(reply, 0x2501, nullptr, 0);
        return 1;
    }
    uint16_t values[10];
    const size_t found = readCalibration(values);
    uint8_t payload[21];
    for (int i = 0; i < 10; ++i)
        benchPut16(payload + 2 * i, values[i]);
    payload[20] = found == 10 ? 1 : 0;
    benchSetReplyFrame(reply, 0x2503, payload, 21);
    return 1;
}
