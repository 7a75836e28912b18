#include "gpiodrv.h"

#include "cdebug.h"
#include "cmdrunner.h"
#include "sysroot.h"
#include "threadfunc.h"
#include "toolsmisc.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum Direction { DIR_OUT, DIR_IN };

struct LineRow {
    uint32_t mask;
    int line;
    Direction direction;
    bool newline;
    bool inverted;
    const char* label;
};

const LineRow kLines[] = {
    {GPIO_MASK_BRIDGE_ENABLE, 95, DIR_OUT, true, true, "gpioDrvBridgeEnable(): "},
    {GPIO_MASK_BUZZER_LOW, 140, DIR_OUT, false, false, "gpioDrvBuzzerLow(): "},
    {GPIO_MASK_BUZZER_HIGH, 141, DIR_OUT, false, false, "gpioDrvBuzzerHigh(): "},
    {GPIO_MASK_USB1_5VFB, 24, DIR_IN, false, false, "gpioDrvReadUSB1_5VFB( void ): "},
    {GPIO_MASK_USB1_STATUS, 150, DIR_IN, false, false, "gpioDrvReadUSB1_status( void ): "},
    {GPIO_MASK_USB1_EN, 149, DIR_OUT, true, true, "gpioDrvUSB1_EN(): "},
    {GPIO_MASK_USB2_5VFB, 26, DIR_IN, false, false, "gpioDrvReadUSB2_5VFB( void ): "},
    {GPIO_MASK_USB2_STATUS, 137, DIR_IN, false, false, "gpioDrvReadUSB2_status( void ): "},
    {GPIO_MASK_AUTO_UPDATE, 170, DIR_IN, false, false, "gpioDrvReadAuto_update( void ): "},
    {GPIO_MASK_POWER_RELAY, 100, DIR_OUT, false, true, "gpioDrvPowerRelay(): "},
    {GPIO_MASK_POWER_BUTTON, 153, DIR_IN, false, false, "gpioDrvReadPowerButtonSense( void ): "},
    {GPIO_MASK_BACKLIGHT, 10, DIR_OUT, true, true, "gpioDrvBacklightOn: "},
    {GPIO_MASK_IGNITION, 152, DIR_IN, false, false, "gpioDrvReadIgnitionSense( void ): "},
    {GPIO_MASK_IMPLEMENT_STATUS, 65, DIR_IN, false, false, "gpioDrvReadImplementStatus( void ): "},
    {GPIO_MASK_GPIO55_IN, 55, DIR_IN, false, false, "gpioDrvReadGPIO55( void ):"},
    {GPIO_MASK_GPIO106, 106, DIR_OUT, true, true, "gpioDrvSetGPIO106( BOOL8 level ): "},
    {GPIO_MASK_GPIO102, 102, DIR_OUT, true, false, "gpioDrvSetGPIO102( BOOL8 level ): "},
    {GPIO_MASK_GPIO55_OUT, 55, DIR_OUT, true, true, "gpioDrvSetGPIO55( BOOL8 level ): "},
    {GPIO_MASK_GPIO64, 64, DIR_OUT, true, true, "gpioDrvSetGPIO64( BOOL8 level ): "},
    {GPIO_MASK_GPIO136, 136, DIR_OUT, false, true, "gpioDrvSetGPIO136( BOOL8 _on ): "},
    {GPIO_MASK_GPIO105, 105, DIR_IN, false, false, "gpioDrvReadGPIO105( void ):"},
};
const size_t kLineCount = sizeof kLines / sizeof kLines[0];

struct LineHandle {
    FILE* stream = nullptr;  // outputs
    int fd = -1;             // inputs
    bool regular = false;    // a plain file standing in for the sysfs attribute
};

LineHandle handles[kLineCount];
std::atomic<uint32_t> openedMask{0};
bool openedOnce = false;
int wakePipe[2] = {-1, -1};

// Watch slots in the order the watch set is built.
enum { SLOT_IGNITION, SLOT_POWER_BUTTON, SLOT_IMPLEMENT_STATUS, SLOT_AUTO_UPDATE, SLOT_COUNT };
const uint32_t kSlotMask[SLOT_COUNT] = {GPIO_MASK_IGNITION, GPIO_MASK_POWER_BUTTON,
                                        GPIO_MASK_IMPLEMENT_STATUS, GPIO_MASK_AUTO_UPDATE};
std::atomic<GpioWatchHandler> slotHandler[SLOT_COUNT];

// Pause after a round in which a wait or a read failed, so a line that keeps
// signalling without a value (or a failing poll) cannot keep the watch thread
// busy. A round that only found its lines unchanged goes straight back to the
// wait: a short press that follows it must not fall into a pause.
const int kFailureBackoffMs = 50;

int rowOf(uint32_t mask)
{
    for (size_t i = 0; i < kLineCount; ++i)
        if (kLines[i].mask == mask)
            return static_cast<int>(i);
    return -1;
}

std::string valuePath(int line)
{
    return sysrootPath(stringPrintf("/sys/class/gpio/gpio%d/value", line));
}

void writeLine(uint32_t mask, uint32_t level)
{
    const int row = rowOf(mask);
    LineHandle& handle = handles[row];
    if (!handle.stream)
        return;
    const LineRow& line = kLines[row];
    const unsigned value = line.inverted ? (level == 0 ? 1u : 0u) : level;
    rewind(handle.stream);
    if (fprintf(handle.stream, line.newline ? "%u\n" : "%u", value) < 0)
        fprintf(stderr, "%s%s\n", line.label, strerror(errno));
    fflush(handle.stream);
    if (handle.regular) {
        const long end = ftell(handle.stream);
        if (end >= 0 && ftruncate(fileno(handle.stream), end) != 0)
            fprintf(stderr, "%s%s\n", line.label, strerror(errno));
    }
}

// Reads a descriptor's value from position 0; the number of bytes read, -1 on
// a read error. Nothing read is the value 0.
ssize_t readValueText(int fd, int* value)
{
    char text[11];
    if (lseek(fd, 0, SEEK_SET) < 0)
        return -1;
    const ssize_t n = read(fd, text, 10);
    if (n < 0)
        return -1;
    text[n] = '\0';
    *value = n == 0 ? 0 : static_cast<int>(strtol(text, nullptr, 10));
    return n;
}

bool readValue(int fd, int* value)
{
    return readValueText(fd, value) >= 0;
}

int readLine(uint32_t mask)
{
    const int row = rowOf(mask);
    if (handles[row].fd < 0)
        return 0;
    int value = 0;
    if (!readValue(handles[row].fd, &value)) {
        fprintf(stderr, "%s%s\n", kLines[row].label, strerror(errno));
        return 0;
    }
    return value;
}

void openLine(size_t i)
{
    const LineRow& line = kLines[i];
    const std::string path = valuePath(line.line);
    LineHandle& handle = handles[i];
    int fd;
    if (line.direction == DIR_OUT) {
        handle.stream = fopen(path.c_str(), "w");
        fd = handle.stream ? fileno(handle.stream) : -1;
    } else {
        handle.fd = open(path.c_str(), O_RDONLY);
        fd = handle.fd;
    }
    if (fd < 0) {
        if (line.mask == GPIO_MASK_IMPLEMENT_STATUS) {
            printf("Should not open implement status detection input\n\r");
            fflush(stdout);
        } else {
            perror(path.c_str());
            exit(-1);
        }
    } else {
        struct stat info;
        handle.regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    }
    openedMask |= line.mask;
}

void wakeWatch()
{
    if (wakePipe[1] < 0)
        return;
    const char zero = 0;
    if (write(wakePipe[1], &zero, 1) != 1)
        fprintf(stderr, "gpioDrv_TAM3517 reports Error:%s\n", strerror(errno));
}

struct WatchSlot {
    int fd = -1;
    bool regular = false;
    int lastSeen = 0;
    bool seen = false;
};

// Reads a watched line and reports a change to its handler. failed is set when
// the line gave no value: a read error, or nothing at all from a line that is
// no plain file (a device line always has a value to read).
void checkSlot(int slot, WatchSlot& watch, bool& failed)
{
    int value = 0;
    const ssize_t n = readValueText(watch.fd, &value);
    if (n < 0 || (n == 0 && !watch.regular)) {
        failed = true;
        return;
    }
    if (!watch.seen) {
        watch.seen = true;
        watch.lastSeen = value;
        return;
    }
    if (value == watch.lastSeen)
        return;
    watch.lastSeen = value;
    GpioWatchHandler handler = slotHandler[slot].load();
    if (handler)
        handler(static_cast<uint8_t>(value & 0xFF));
}

void* scanGPIO(void*)
{
    threadfunc::setThreadName("gpio-watch");
    CDEBUG_LOG(CDebugLevel::DEB, "cIo", "Thread Started");
    WatchSlot watch[SLOT_COUNT];
    int notifyFd = -1;
    for (;;) {
        pollfd fds[2 + SLOT_COUNT];
        int fdSlot[2 + SLOT_COUNT];
        nfds_t count = 0;
        fds[count] = {wakePipe[0], POLLIN | POLLPRI | POLLERR, 0};
        fdSlot[count++] = -1;

        if (notifyFd >= 0)
            close(notifyFd);
        notifyFd = -1;
        int watchedSlots[SLOT_COUNT];
        int watchedCount = 0;
        bool anyNotified = false;
        for (int slot = 0; slot < SLOT_COUNT; ++slot) {
            const int row = rowOf(kSlotMask[slot]);
            const int fd = handles[row].fd;
            if (fd < 0 || !slotHandler[slot].load()) {
                watch[slot].seen = false;
                continue;
            }
            watch[slot].fd = fd;
            watch[slot].regular = handles[row].regular;
            watchedSlots[watchedCount++] = slot;
            // Plain files never signal an edge: off the device the watch learns
            // of their changes through inotify instead of POLLPRI.
            if (handles[row].regular) {
                if (notifyFd < 0)
                    notifyFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
                if (notifyFd >= 0 &&
                    inotify_add_watch(notifyFd, valuePath(kLines[row].line).c_str(), IN_MODIFY | IN_CLOSE_WRITE) >= 0)
                    anyNotified = true;
            } else {
                fds[count] = {fd, POLLPRI | POLLERR, 0};
                fdSlot[count++] = slot;
            }
        }
        if (anyNotified) {
            fds[count] = {notifyFd, POLLIN, 0};
            fdSlot[count++] = SLOT_COUNT;
        }

        // The first read clears a pending edge; a change made while the set was
        // rebuilt is reported here.
        bool failed = false;
        for (int i = 0; i < watchedCount; ++i)
            checkSlot(watchedSlots[i], watch[watchedSlots[i]], failed);

        if (poll(fds, count, -1) < 0) {
            if (errno != EINTR) {
                fprintf(stderr, "ScanGPIO read(), watch: %s\n", strerror(errno));
                threadfunc::sleep(kFailureBackoffMs, 0);
            }
            continue;
        }
        if (fds[0].revents) {
            char byte;
            failed = read(wakePipe[0], &byte, 1) != 1 || failed;
        }
        for (nfds_t i = 1; i < count; ++i) {
            if (!fds[i].revents)
                continue;
            if (fdSlot[i] == SLOT_COUNT) {
                char events[4096];
                ssize_t n;
                while ((n = read(notifyFd, events, sizeof events)) > 0) {
                }
                failed = (n < 0 && errno != EAGAIN && errno != EINTR) || failed;
                for (int w = 0; w < watchedCount; ++w) {
                    const int slot = watchedSlots[w];
                    if (watch[slot].regular)
                        checkSlot(slot, watch[slot], failed);
                }
            } else {
                checkSlot(fdSlot[i], watch[fdSlot[i]], failed);
            }
        }
        if (failed)
            threadfunc::sleep(kFailureBackoffMs, 0);
    }
    return nullptr;
}

void setHandler(int slot, GpioWatchHandler handler)
{
    slotHandler[slot].store(handler);
    wakeWatch();
}

}  // namespace

void gpioDrvInit(uint32_t mask)
{
    CDEBUG_LOG(CDebugLevel::DEB, "cIo", "initFilePoints( 0x%x )", mask);
    if (openedOnce)
        return;
    openedOnce = true;
    for (size_t i = 0; i < kLineCount; ++i)
        if (mask & kLines[i].mask)
            openLine(i);
    if (pipe(wakePipe) != 0) {
        fprintf(stderr, "gpioDrv_TAM3517 reports Error:%s\n", strerror(errno));
        exit(1);
    }
    threadfunc::ThreadCreate(99, scanGPIO, nullptr, 35840, __FILE__, __LINE__);
}

uint32_t gpioDrvOpenedMask()
{
    return openedMask.load();
}

void gpioDrvBridgeEnable(uint32_t level) { writeLine(GPIO_MASK_BRIDGE_ENABLE, level); }
void gpioDrvBuzzerLow(uint32_t level) { writeLine(GPIO_MASK_BUZZER_LOW, level); }
void gpioDrvBuzzerHigh(uint32_t level) { writeLine(GPIO_MASK_BUZZER_HIGH, level); }
void gpioDrvUSB1_EN(uint32_t level) { writeLine(GPIO_MASK_USB1_EN, level); }
void gpioDrvPowerRelay(uint32_t level) { writeLine(GPIO_MASK_POWER_RELAY, level); }
void gpioDrvBacklightOn(uint32_t level) { writeLine(GPIO_MASK_BACKLIGHT, level); }
void gpioDrvSetGPIO106(uint32_t level) { writeLine(GPIO_MASK_GPIO106, level); }
void gpioDrvSetGPIO55(uint32_t level) { writeLine(GPIO_MASK_GPIO55_OUT, level); }
void gpioDrvSetGPIO64(uint32_t level) { writeLine(GPIO_MASK_GPIO64, level); }
void gpioDrvSetGPIO136(uint32_t level) { writeLine(GPIO_MASK_GPIO136, level); }

void gpioDrvSetGPIO102(uint32_t level)
{
    gpioDrvSetGPIOGeneric(102, level);
}

int gpioDrvReadUSB1_5VFB() { return readLine(GPIO_MASK_USB1_5VFB); }
int gpioDrvReadUSB1_status() { return readLine(GPIO_MASK_USB1_STATUS); }
int gpioDrvReadUSB2_5VFB() { return readLine(GPIO_MASK_USB2_5VFB); }
int gpioDrvReadUSB2_status() { return readLine(GPIO_MASK_USB2_STATUS); }
int gpioDrvReadAuto_update() { return readLine(GPIO_MASK_AUTO_UPDATE); }
int gpioDrvReadPowerButtonSense() { return readLine(GPIO_MASK_POWER_BUTTON); }
int gpioDrvReadIgnitionSense() { return readLine(GPIO_MASK_IGNITION); }
int gpioDrvReadImplementStatus() { return readLine(GPIO_MASK_IMPLEMENT_STATUS); }
int gpioDrvReadGPIO55() { return readLine(GPIO_MASK_GPIO55_IN); }
int gpioDrvReadGPIO105() { return readLine(GPIO_MASK_GPIO105); }

void gpioDrvSetIgnitionCallback(GpioWatchHandler handler) { setHandler(SLOT_IGNITION, handler); }
void gpioDrvSetPowerButtonCallback(GpioWatchHandler handler) { setHandler(SLOT_POWER_BUTTON, handler); }
void gpioDrvSetAutoUpdateCallback(GpioWatchHandler handler) { setHandler(SLOT_AUTO_UPDATE, handler); }
void gpioDrvSetImplementStatusCallback(GpioWatchHandler handler) { setHandler(SLOT_IMPLEMENT_STATUS, handler); }

void gpioDrvPowerOff(uint32_t flag)
{
    if (flag == 0)
        cmdRun("shutdown -hP -t 0 0");
}

bool gpioDrvGetGPIOGeneric(uint32_t line)
{
    const std::string path = valuePath(static_cast<int>(line));
    FILE* file = fopen(path.c_str(), "r");
    if (!file) {
        CDEBUG_LOG_TEXT(CDebugLevel::CRI, "cDefault",
                        "unable to open io port " + std::to_string(line) + " for reading.");
        return false;
    }
    char c = '0';
    if (fscanf(file, "%c", &c) != 1) {
        CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "error in: %s", path.c_str());
        c = '0';
    }
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "GPIO%u = %c", line, c);
    fclose(file);
    return c == '1';
}

void gpioDrvSetGPIOGeneric(uint32_t line, uint32_t level)
{
    const int number = static_cast<int>(line);
    const std::string path = valuePath(number);
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        CDEBUG_LOG_TEXT(CDebugLevel::CRI, "cDefault",
                        "unable to open io port " + std::to_string(number) + " for writing.");
        return;
    }
    if (fprintf(file, "%u\n", level) < 0)
        CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "error in: %s", path.c_str());
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "GPIO%d = %u", number, level);
    fclose(file);
}

void gpioDrvToggleGPIOGeneric(uint32_t line)
{
    gpioDrvSetGPIOGeneric(line, gpioDrvGetGPIOGeneric(line) ? 0 : 1);
}
