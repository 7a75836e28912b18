#include "adc128s.h"

#include "cdebug.h"
#include "clock.h"
#include "kernel.h"
#include "sysroot.h"
#include "threadfunc.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {

const char* const kHwmonDir = "/sys/class/hwmon/hwmon1/device/";
const int kChannels = 8;
const int32_t kMaxSleepMs = 1000;
// stdio and the callbacks need more than the kernel's default task stack.
const uint32_t kReaderStack = 65536;

struct AdcChannel {
    uint32_t period;
    uint32_t nextDue;
    uint16_t value;
    uint16_t lastReported;
    AdcCallback callback;
    uint32_t userValue;
    FILE* stream;
};

AdcChannel channels[kChannels];
KernelHandle lock = nullptr;
std::atomic<bool> initialised{false};
bool logEnabled = true;

// The reader's sleep ends early when a channel is configured, so a channel set
// up while the reader sleeps its full second is read at its first due time.
// Never destroyed: the reader still waits on them while the program exits.
std::mutex& wakeLock = *new std::mutex;
std::condition_variable& wakeReader = *new std::condition_variable;
bool configChanged = false;

void sleepUntilDue(int32_t ms)
{
    std::unique_lock<std::mutex> guard(wakeLock);
    wakeReader.wait_for(guard, std::chrono::milliseconds(ms), [] { return configChanged; });
    configChanged = false;
}

struct Locked {
    Locked() { kernelSemaphoreWait(&lock); }
    ~Locked() { kernelSemaphoreSignal(&lock); }
};

bool validChannel(int channel)
{
    return channel >= 0 && channel < kChannels;
}

void logIllegal(int channel)
{
    if (logEnabled)
        CDEBUG_LOG(CDebugLevel::FAT, "cDefault", "adc128sConfig called with illegal ID %d", channel);
}

std::string channelPath(int channel)
{
    return sysrootPath(std::string(kHwmonDir) + "in" + std::to_string(channel) + "_input");
}

// Reads the channel's leading decimal number; false on a read error.
bool readChannel(FILE* stream, uint16_t* reading)
{
    char text[11];
    if (fseek(stream, 0, SEEK_SET) != 0)
        return false;
    const size_t n = fread(text, 1, 10, stream);
    if (n == 0 && ferror(stream)) {
        clearerr(stream);
        return false;
    }
    text[n] = '\0';
    *reading = static_cast<uint16_t>(strtoul(text, nullptr, 10));
    return true;
}

}  // namespace

void adc128sSetLogEnabled(bool enabled)
{
    logEnabled = enabled;
}

int SetMinMax(uint32_t, uint32_t maximum)
{
    if (!lock)
        kernelSemaphoreCreate(&lock, 1);
    {
        Locked guard;
        for (AdcChannel& channel : channels) {
            if (channel.stream)
                fclose(channel.stream);
            channel = AdcChannel{};
            channel.lastReported = 65535;
        }
    }
    const std::string path = sysrootPath(std::string(kHwmonDir) + "in_max");
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        if (logEnabled)
            CDEBUG_LOG(CDebugLevel::FAT, "cDefault", "Error open max. can't open %s", path.c_str());
        perror(path.c_str());
        exit(1);
    }
    if (logEnabled)
        CDEBUG_LOG(CDebugLevel::DEB, "cInit", "max. ADC file open, file = %s", path.c_str());
    const bool written = fprintf(file, "%u", maximum) > 0;
    const bool closed = fclose(file) == 0;
    if (!initialised.exchange(true))
        kernelTaskCreateStack(90, adc128sReadLoop, 0, kReaderStack, __FILE__, __LINE__);
    return written && closed ? 1 : 0;
}

int adc128sConfig(int channel, uint32_t periodMs, AdcCallback callback, uint32_t userValue)
{
    if (!initialised.load()) {
        perror("Validate failed: adc128sConfig()");
        exit(1);
    }
    if (!validChannel(channel)) {
        logIllegal(channel);
        return 0;
    }
    {
        Locked guard;
        AdcChannel& record = channels[channel];
        record.period = periodMs;
        record.nextDue = clockGetMs() + periodMs;
        record.callback = callback;
        record.userValue = userValue;
    }
    {
        std::lock_guard<std::mutex> guard(wakeLock);
        configChanged = true;
    }
    wakeReader.notify_one();
    return 1;
}

int adc128sRead(int channel, uint16_t* value)
{
    if (!validChannel(channel)) {
        logIllegal(channel);
        return 0;
    }
    if (!initialised.load())
        return 0;
    Locked guard;
    AdcChannel& record = channels[channel];
    *value = record.value;
    const bool changed = record.value != record.lastReported;
    record.lastReported = record.value;
    return changed ? 1 : 0;
}

FILE* OpenAdcChannel(int channel)
{
    const std::string path = channelPath(channel);
    FILE* stream = fopen(path.c_str(), "r");
    if (!stream) {
        if (logEnabled)
            CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "can't open %s", path.c_str());
        perror("OpenAdcChannel");
        exit(1);
    }
    return stream;
}

void adc128sReadLoop(uint32_t)
{
    threadfunc::setThreadName("adc-reader");
    for (;;) {
        const uint32_t now = clockGetMs();
        uint32_t wake = now + kMaxSleepMs;
        for (int ch = 0; ch < kChannels; ++ch) {
            uint32_t period, nextDue;
            FILE* stream;
            {
                Locked guard;
                period = channels[ch].period;
                nextDue = channels[ch].nextDue;
                if (period && static_cast<int32_t>(now - nextDue) >= 0 && !channels[ch].stream)
                    channels[ch].stream = OpenAdcChannel(ch);
                stream = channels[ch].stream;
            }
            if (!period)
                continue;
            if (static_cast<int32_t>(now - nextDue) >= 0) {
                uint16_t reading = 0;
                const bool read = readChannel(stream, &reading);
                AdcCallback callback;
                uint32_t userValue;
                {
                    Locked guard;
                    // A failed read still waits a period before the next try.
                    nextDue = now + period;
                    channels[ch].nextDue = nextDue;
                    if (read)
                        channels[ch].value = reading;
                    callback = channels[ch].callback;
                    userValue = channels[ch].userValue;
                }
                if (read && callback)
                    callback(userValue, reading);
            }
            if (static_cast<int32_t>(nextDue - wake) < 0)
                wake = nextDue;
        }
        int32_t sleepMs = static_cast<int32_t>(wake - clockGetMs());
        if (sleepMs < 1)
            sleepMs = 1;
        if (sleepMs > kMaxSleepMs)
            sleepMs = kMaxSleepMs;
        sleepUntilDue(sleepMs);
    }
}
