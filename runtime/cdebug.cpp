#include "cdebug.h"

#include "cdebugthreads.h"
#include "clock.h"
#include "cmdrunner.h"
#include "filefunc.h"
#include "storage.h"
#include "threadfunc.h"
#include "toolsmisc.h"

#include <climits>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int messageBufferSize = 1024;
constexpr int maxRulesLine = 1024;
constexpr int timeBufferSize = 120;
const char* const defaultTimeFormat = "%F %X";
const char* const timeFormatKey = "mConfigTimeFormat";

struct OptionDefault {
    const char* key;
    int32_t value;
};
const OptionDefault optionDefaults[] = {
    {"Colorizer", 0},    {"Console", 1},      {"DataLogger", 0},    {"ErrorLogger", 1},
    {"ExitOnAssert", 0}, {"PathDepth", 1},    {"PathDepthSevere", 0}, {"QueueSize", 20},
    {"debug", 0},        {"warning", 1},      {"critical", 1},      {"logging", 0},
    {"info", 0},         {"fatal", 1},
};

// The signed decimal number at the start of the text; 0 when there is none.
int32_t leadingNumber(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

// The lines of a text file, or false when it cannot be opened. The file layer
// may log on failures: no lock of the logger is held here.
bool readLines(const std::string& path, std::vector<std::string>* lines)
{
    const int fd = openFileRead(path);
    if (fd < 0)
        return false;
    std::string line;
    while (fileGetLine(fd, line, maxRulesLine))
        lines->push_back(line);
    fileClose(fd);
    return true;
}

void writeConsole(const std::string& text, bool flush)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (flush)
        std::fflush(stdout);
}

// Drains the process logger's writer when the program ends; the logger itself
// stays usable for whatever logs later in the exit sequence.
struct ProcessLoggerExit {
    CDebug* logger;
    ~ProcessLoggerExit() { logger->shutdown(); }
};
}  // namespace

bool CDebug::FileRecord::operator==(const FileRecord& other) const
{
    return attributes == other.attributes && nanoseconds == other.nanoseconds &&
           time == other.time && date == other.date && size == other.size && name == other.name;
}

CDebug::FileRecord CDebug::fileRecordOf(const std::string& path)
{
    FileRecord record;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return record;
    struct tm local;
    const time_t seconds = info.st_mtim.tv_sec;
    localtime_r(&seconds, &local);
    if (S_ISDIR(info.st_mode))
        record.attributes |= 0x10;
    else if (!S_ISREG(info.st_mode))
        record.attributes |= 0x04;
    if (!(info.st_mode & S_IWUSR))
        record.attributes |= 0x01;
    record.nanoseconds = info.st_mtim.tv_nsec;
    record.time = static_cast<uint32_t>(local.tm_hour * 10000 + local.tm_min * 100 + local.tm_sec);
    record.date = static_cast<uint32_t>((local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 +
                                        local.tm_mday);
    record.size = static_cast<uint64_t>(info.st_size);
    record.name = pathFileName(path);
    return record;
}

CDebug& CDebug::getInstance()
{
    static CDebug* const instance = [] {
        CDebug* logger = new CDebug(clStorageCfgDir(), DeferFileCheck());
        logger->mIsProcessLogger = true;
        return logger;
    }();
    static const ProcessLoggerExit drainAtExit{instance};
    // The first look at the files happens outside the one-time construction:
    // the file layer logs through this very instance.
    static std::atomic<bool> filesChecked{false};
    if (!filesChecked.load(std::memory_order_acquire) && !filesChecked.exchange(true))
        instance->checkLoggingFiles();
    return *instance;
}

CDebug::CDebug(const std::string& configDir) : CDebug(configDir, DeferFileCheck())
{
    checkLoggingFiles();
}

CDebug::CDebug(const std::string& configDir, DeferFileCheck)
    : mConfigTimeFormat(defaultTimeFormat),
      mConfigDir(configDir),
      mRulesPath(configDir + "/cdebug.ini"),
      mConfigPath(configDir + "/cdebug.cnf")
{
    for (std::atomic<bool>& on : mLevelSwitch)
        on.store(false);
    mReload = std::make_unique<TIniFileUpdateThread>(this);
    mWriter = std::make_unique<TMsgQueueUpdateThread>(this);
    mWriterRunning.store(true);
    makePath(mConfigDir);
    setDefaultConfig();
}

CDebug::~CDebug()
{
    shutdown();
}

void CDebug::shutdown()
{
    std::lock_guard<std::mutex> guard(mShutdownLock);
    // The thread objects stay alive until destruction, so that a thread that
    // logs during the exit sequence never meets a destroyed queue.
    mReload->finish();
    std::lock_guard<std::mutex> files(mFilesLock);
    mWriterRunning.store(false);
    mWriter->finish();
}

void CDebug::setDefaultConfig()
{
    {
        std::unique_lock<std::shared_mutex> lock(mStateLock);
        for (const OptionDefault& option : optionDefaults)
            mConfigMap[option.key] = option.value;
        mConfigTimeFormat = defaultTimeFormat;
    }
    applyLevelSwitches();
    applyOptions();
}

void CDebug::applyLevelSwitches()
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    for (int level = CDebugLevel::DEB; level <= CDebugLevel::FAT; ++level) {
        const auto entry = mConfigMap.find(CDebugLevel::level2String(level));
        mLevelSwitch[level].store(entry != mConfigMap.end() && entry->second != 0);
    }
}

void CDebug::applyOptions()
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    auto value = [this](const char* key) {
        const auto entry = mConfigMap.find(key);
        return entry == mConfigMap.end() ? 0 : entry->second;
    };
    mColorizer.store(value("Colorizer"));
    mConsole.store(value("Console"));
    mDataLogger.store(value("DataLogger"));
    mErrorLogger.store(value("ErrorLogger"));
    mExitOnAssert.store(value("ExitOnAssert"));
    mPathDepth.store(value("PathDepth"));
    mPathDepthSevere.store(value("PathDepthSevere"));
    mQueueSize.store(value("QueueSize"));
    mWriter->setQueueInUse(mQueueSize.load() > 0);
}

void CDebug::CategoryEntry::publish()
{
    uint8_t bits = 0;
    for (int level = CDebugLevel::DEB; level <= CDebugLevel::FAT; ++level)
        if (mCategory.get(level))
            bits = static_cast<uint8_t>(bits | (1u << level));
    mSwitches.store(bits, std::memory_order_relaxed);
}

const CDebug::CategoryEntry& CDebug::entryFor(const char* category)
{
    if (!category)
        category = "";
    {
        std::shared_lock<std::shared_mutex> lock(mStateLock);
        const auto entry = mCategories.find(category);
        if (entry != mCategories.end())
            return entry->second;
    }
    std::unique_lock<std::shared_mutex> lock(mStateLock);
    return mCategories.try_emplace(category, category).first->second;
}

const CDebug::CategoryEntry& CDebug::cachedEntryFor(const char* category, SiteCache& site)
{
    if (!mIsProcessLogger || !category)
        return entryFor(category);
    const CategoryEntry* cached = site.entry.load(std::memory_order_acquire);
    if (cached && std::strcmp(cached->name(), category) == 0)
        return *cached;
    const CategoryEntry& entry = entryFor(category);
    site.entry.store(&entry, std::memory_order_release);
    return entry;
}

size_t CDebug::categoryCount()
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    return mCategories.size();
}

void CDebug::log(int level, const char* category, int line, const char* file, const char* function,
                 const char* format, ...)
{
    char text[messageBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    logVariant(level, category, line, file, function, text);
}

void CDebug::logVariant(int level, const char* category, int line, const char* file,
                        const char* function, const std::string& text)
{
    CDebugMsg message;
    message.time = timeStamp(timeFormat());
    message.category = category ? category : "";
    message.level = static_cast<uint32_t>(level);
    message.line = static_cast<uint32_t>(line);
    message.file = file ? file : "";
    message.function = function ? function : "";
    message.text = text;
    post(std::move(message));
}

void CDebug::logStream(int level, const char* category, int line, const char* file,
                       const char* function, const std::ostringstream& text)
{
    logVariant(level, category, line, file, function, text.str());
}

void CDebug::post(CDebugMsg&& message)
{
    if (mWriterRunning.load())
        mWriter->post(message);
    else
        writeMessage(message, true);
}

std::string CDebug::timeStamp(const std::string& pattern)
{
    char buffer[timeBufferSize];
    if (pattern == "0") {
        std::snprintf(buffer, sizeof buffer, "%7u", static_cast<unsigned>(clockGetMs()));
        return buffer;
    }
    const struct timespec now = cmdWallClockNow();
    struct tm local;
    localtime_r(&now.tv_sec, &local);
    const size_t length = std::strftime(buffer, sizeof buffer, pattern.c_str(), &local);
    std::string text(buffer, length);
    if (!pattern.empty()) {
        std::snprintf(buffer, sizeof buffer, ":%03d", static_cast<int>(now.tv_nsec / 1000000));
        text += buffer;
    }
    return text;
}

std::string CDebug::shortenPath(const std::string& path, int depth)
{
    std::string result = path;
    const size_t marker = result.find("sw");
    if (marker != std::string::npos)
        result.erase(0, marker + 2);
    if (depth == 0 || result.empty())
        return result;
    size_t from = result.size() - 1;
    size_t hit = std::string::npos;
    for (int hits = 0; hits != depth;) {
        hit = result.rfind('/', from);
        if (hit == std::string::npos)
            return result;
        ++hits;
        if (hit == 0)
            break;
        from = hit - 1;
    }
    return result.substr(hit + 1);
}

std::string CDebug::formatLine(const CDebugMsg& message)
{
    const int level = message.level <= CDebugLevel::FAT ? static_cast<int>(message.level)
                                                         : static_cast<int>(CDebugLevel::LEV_NO);
    const bool valid = CDebugLevel::isValid(level);
    const bool severe =
        level == CDebugLevel::WAR || level == CDebugLevel::CRI || level == CDebugLevel::FAT;
    const std::string letter = valid ? CDebugLevel::levelToChar(level) : std::string();
    const std::string path = valid ? shortenPath(message.file, severe ? mPathDepthSevere.load()
                                                                      : mPathDepth.load())
                                   : std::string();
    const std::string mark = mColorizer.load() != 0 ? CDebugLevel::Colorize(level, letter)
                                                    : CDebugLevel::levelToChar(level);
    std::string text = message.text;
    if (level == CDebugLevel::FAT)
        text = ">>> FATAL( " + text + " ) <<<";
    char lineNumber[16];
    std::snprintf(lineNumber, sizeof lineNumber, "%5u", static_cast<unsigned>(message.line));
    return "[" + message.time + " " + mark + "][" + lineNumber + "][" + message.category + "] " +
           path + " - " + message.function + "() - " + text + "\n";
}

void CDebug::writeMessage(const CDebugMsg& message, bool flush)
{
    if (message.time.empty())
        return;
    std::string output;
    if (message.category == "cProdCmd")
        output = message.text;
    else if (message.category == "cProdRes")
        output = message.level == CDebugLevel::LOG ? message.text + "\n" : message.text;
    else
        output = formatLine(message);
    const bool fatal = message.level == CDebugLevel::FAT;
    if (mConsole.load() != 0 || fatal)
        writeConsole(output, flush || fatal);
    if (fatal && mExitOnAssert.load() != 0)
        fatalShutdown();
}

void CDebug::fatalShutdown()
{
    // Bounded wait: the check may be running on another thread that is itself
    // waiting for room in the queue this thread would drain.
    for (int waited = 0; mCheckFiles.load() && waited < 2000; waited += 10) {
        if (mFilesLock.try_lock()) {
            checkFilesLocked();
            mFilesLock.unlock();
            break;
        }
        threadfunc::sleep(10, 0);
    }
    std::fflush(stdout);
    std::fputs(">>> gracefully shutting down!!! <<<\n", stdout);
    std::fflush(stdout);
    threadfunc::sleep(1000, 0);
    // Sent to the process, not raised in this thread: the logger's threads block
    // every signal but SIGSEGV.
    ::kill(::getpid(), SIGINT);
    threadfunc::sleep(1000, 0);
    std::abort();
}

std::string CDebug::timeFormat()
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    return mConfigTimeFormat;
}

int32_t CDebug::option(const std::string& key)
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    const auto entry = mConfigMap.find(key);
    return entry == mConfigMap.end() ? 0 : entry->second;
}

std::string CDebug::getDebugLevelsOfCategory(const std::string& name)
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    const auto entry = mCategories.find(name);
    return entry == mCategories.end() ? "Unknown Category" : entry->second.category().getString();
}

int CDebug::readFilterRules()
{
    std::vector<std::string> lines;
    if (!readLines(mRulesPath, &lines))
        return 0;
    std::unique_lock<std::shared_mutex> lock(mStateLock);
    for (const std::string& line : lines) {
        const size_t dot = line.find('.');
        const std::string category = line.substr(0, dot);
        if (dot == std::string::npos || category.empty() || category == "[rules]")
            continue;
        const size_t equals = line.find('=', dot + 1);
        const std::string levelName = line.substr(dot + 1, equals - dot - 1);
        if (levelName.empty())
            continue;
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        CategoryEntry& entry = mCategories.try_emplace(category, category).first->second;
        entry.category().set(levelName, value);
        entry.publish();
    }
    return 1;
}

bool CDebug::writeRulesCounting(size_t* countWritten)
{
    std::string text;
    {
        std::shared_lock<std::shared_mutex> lock(mStateLock);
        text = "[rules]\n";
        for (const auto& entry : mCategories)
            text += entry.second.category().getString();
        if (countWritten)
            *countWritten = mCategories.size();
    }
    return fileReplace(mRulesPath, text);
}

bool CDebug::writeFilterRules()
{
    return writeRulesCounting(nullptr);
}

int CDebug::readConfig()
{
    std::vector<std::string> lines;
    if (!readLines(mConfigPath, &lines))
        return 0;
    {
        std::unique_lock<std::shared_mutex> lock(mStateLock);
        for (const std::string& line : lines) {
            const size_t equals = line.find('=');
            const std::string key = line.substr(0, equals);
            if (key.empty())
                continue;
            const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
            if (key == timeFormatKey)
                mConfigTimeFormat = value;
            else
                mConfigMap[key] = leadingNumber(value);
        }
    }
    applyLevelSwitches();
    applyOptions();
    return 1;
}

bool CDebug::writeConfig()
{
    std::lock_guard<std::mutex> guard(mFilesLock);
    return writeConfigLocked();
}

bool CDebug::writeConfigLocked()
{
    const bool written = fileReplace(mConfigPath, configString());
    mConfigRecord = written ? fileRecordOf(mConfigPath) : FileRecord();
    return written;
}

void CDebug::checkLoggingFiles()
{
    if (!mCheckFiles.load())
        return;
    std::lock_guard<std::mutex> guard(mFilesLock);
    checkFilesLocked();
}

void CDebug::checkFilesLocked()
{
    if (!mCheckFiles.load())
        return;
    const bool rulesUnchanged = !mRulesRecord.name.empty() &&
                                fileRecordOf(mRulesPath) == mRulesRecord &&
                                categoryCount() == mRulesCategoryCount;
    if (!rulesUnchanged) {
        readFilterRules();
        size_t written = 0;
        if (writeRulesCounting(&written)) {
            mRulesRecord = fileRecordOf(mRulesPath);
            mRulesCategoryCount = written;
        } else {
            mRulesRecord = FileRecord();
        }
    }
    if (mConfigRecord.name.empty() || !(fileRecordOf(mConfigPath) == mConfigRecord)) {
        readConfig();
        writeConfigLocked();
    }
}

std::string CDebug::rulesString()
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    std::string text;
    for (const auto& entry : mCategories)
        text += entry.second.category().getString();
    return text;
}

std::string CDebug::configString()
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    std::string text;
    for (const auto& entry : mConfigMap)
        text += entry.first + "=" + std::to_string(entry.second) + "\n";
    text += std::string(timeFormatKey) + "=" + mConfigTimeFormat + "\n";
    return text;
}

std::string CDebug::categoryNames()
{
    std::shared_lock<std::shared_mutex> lock(mStateLock);
    std::string text;
    for (const auto& entry : mCategories)
        text += entry.first + "\n";
    return text;
}

void CDebug::printConfig()
{
    std::string text;
    {
        std::shared_lock<std::shared_mutex> lock(mStateLock);
        for (const auto& entry : mConfigMap)
            text += "mConfigMap[ " + entry.first + " ] = " + std::to_string(entry.second) + "\n";
        text += "mConfigTimeFormat = " + mConfigTimeFormat + "\n";
    }
    writeConsole(text, true);
}

void CDebug::logLevelsDefault()
{
    switchOffLevels(&CDebugCategory::clearAll);
}

void CDebug::logLevelsReset()
{
    switchOffLevels(&CDebugCategory::resetAll);
}

void CDebug::switchOffLevels(void (CDebugCategory::*change)())
{
    {
        std::unique_lock<std::shared_mutex> lock(mStateLock);
        for (int level = CDebugLevel::DEB; level <= CDebugLevel::FAT; ++level)
            mConfigMap[CDebugLevel::level2String(level)] = 0;
        for (auto& entry : mCategories) {
            (entry.second.category().*change)();
            entry.second.publish();
        }
    }
    applyLevelSwitches();
}

void CDebug::setLevelForAll(const std::string& levelName, const std::string& valueText)
{
    std::unique_lock<std::shared_mutex> lock(mStateLock);
    for (auto& entry : mCategories) {
        entry.second.category().set(levelName, valueText);
        entry.second.publish();
    }
}
