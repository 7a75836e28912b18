#pragma once
// Process-wide logger. Modules log through the call-site macros below, which
// evaluate no argument of a message that the filter drops:
//
//   CDEBUG_LOG(CDebugLevel::DEB, "cInit", "step %d done", step);
//   CDEBUG_LOG_TEXT(CDebugLevel::WAR, "cfilefunc", text);
//
// A message passes when the global switch of its level is on, else when its
// category's switch for the level is on. Passing messages are stamped in the
// calling thread and written, one line each, to standard output by the writer
// thread. The switches live in "cdebug.ini" (per category) and "cdebug.cnf"
// (options and global switches) in the storage configuration directory; both
// are read at start, checked every 5000 ms and rewritten from the logger's state.
#include "cdebugcategory.h"
#include "cdebuglevel.h"
#include "cdebugmsg.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <sstream>
#include <string>

class TIniFileUpdateThread;
class TMsgQueueUpdateThread;

class CDebug {
public:
    // The process's logger on the storage configuration directory, created on
    // first use. It is never destroyed: at exit its writer is drained and
    // stopped, and later messages are written in the calling thread.
    static CDebug& getInstance();

    // A logger of its own on the given configuration directory, with its own
    // writer and reload threads; reads and writes its files at once.
    explicit CDebug(const std::string& configDir);
    ~CDebug();
    CDebug(const CDebug&) = delete;
    CDebug& operator=(const CDebug&) = delete;

    // A category in the map: its switches, guarded by the state lock, and a
    // copy of them that the filter reads without taking the lock.
    class CategoryEntry {
    public:
        explicit CategoryEntry(const std::string& name) : mCategory(name) { publish(); }
        CDebugCategory& category() { return mCategory; }
        const CDebugCategory& category() const { return mCategory; }
        // After every change of category(), under the state lock.
        void publish();
        bool allows(int level) const
        {
            return CDebugLevel::isValid(level) &&
                   ((mSwitches.load(std::memory_order_relaxed) >> level) & 1u) != 0;
        }
        // The name never changes after construction.
        const char* name() const { return mCategory.name().c_str(); }

    private:
        CDebugCategory mCategory;
        std::atomic<uint8_t> mSwitches{0};
    };

    // The category last looked up at one call site of the process logger, so
    // that a dropped message costs no lock and no map search.
    struct SiteCache {
        std::atomic<const CategoryEntry*> entry{nullptr};
    };

    // The call-site filter: the level's global switch, else the category's switch
    // (the category is created with default switches on first use).
    bool passes(int level, const char* category)
    {
        if (CDebugLevel::isValid(level) && mLevelSwitch[level].load(std::memory_order_relaxed))
            return true;
        return entryFor(category).allows(level);
    }
    bool passes(int level, const char* category, SiteCache& site)
    {
        if (CDebugLevel::isValid(level) && mLevelSwitch[level].load(std::memory_order_relaxed))
            return true;
        return cachedEntryFor(category, site).allows(level);
    }

    void log(int level, const char* category, int line, const char* file, const char* function,
             const char* format, ...) __attribute__((format(printf, 7, 8)));
    void logVariant(int level, const char* category, int line, const char* file,
                    const char* function, const std::string& text);
    void logStream(int level, const char* category, int line, const char* file,
                   const char* function, const std::ostringstream& text);

    // The category's block of switches, or "Unknown Category" (nothing is created).
    std::string getDebugLevelsOfCategory(const std::string& name);

    // 1 after reading the rules file, 0 when it cannot be opened.
    int readFilterRules();
    bool writeFilterRules();
    // 1 after reading the options file, 0 when it cannot be opened.
    int readConfig();
    bool writeConfig();
    // Re-reads and rewrites each file whose information changed since it was
    // last handled (and the rules file when new categories appeared).
    void checkLoggingFiles();
    void setDefaultConfig();

    bool getCheckLoggingFile() const { return mCheckFiles.load(); }
    // From now on the two files are neither read nor written.
    void clearCheckLoggingFile() { mCheckFiles.store(false); }

    // All global switches off and every category cleared (all output off).
    void logLevelsDefault();
    // All global switches off and every category back to its defaults.
    void logLevelsReset();
    void setLevelForAll(const std::string& levelName, const std::string& valueText);

    std::string rulesString();
    std::string configString();
    std::string categoryNames();
    void printConfig();

    std::string timeStamp(const std::string& pattern);
    // The last `depth` components of a source path (0: all), after dropping
    // everything up to and including the first "sw".
    static std::string shortenPath(const std::string& path, int depth);

    const std::string& rulesFilePath() const { return mRulesPath; }
    const std::string& configFilePath() const { return mConfigPath; }
    int32_t option(const std::string& key);
    std::string timeFormat();

    // Drains and stops the writer and stops the reload thread. Later messages
    // are written in the calling thread. Idempotent.
    void shutdown();

private:
    friend class TMsgQueueUpdateThread;
    struct DeferFileCheck {};
    CDebug(const std::string& configDir, DeferFileCheck);

    // The file information compared by the periodic check; empty name = none.
    struct FileRecord {
        uint8_t attributes = 0;
        long nanoseconds = 0;
        uint32_t time = 0;
        uint32_t date = 0;
        uint64_t size = 0;
        std::string name;
        bool operator==(const FileRecord& other) const;
    };
    static FileRecord fileRecordOf(const std::string& path);

    void applyLevelSwitches();
    void applyOptions();
    // Every global level switch off and each category changed by `change`.
    void switchOffLevels(void (CDebugCategory::*change)());
    // The entry of the category, created on first use. Entries are never
    // removed, so references to them stay valid while the logger lives.
    const CategoryEntry& entryFor(const char* category);
    const CategoryEntry& cachedEntryFor(const char* category, SiteCache& site);
    size_t categoryCount();
    bool writeRulesCounting(size_t* countWritten);
    void checkFilesLocked();
    bool writeConfigLocked();
    void post(CDebugMsg&& message);
    // Formats and writes one message (the writer thread's work).
    void writeMessage(const CDebugMsg& message, bool flush);
    std::string formatLine(const CDebugMsg& message);
    [[noreturn]] void fatalShutdown();

    using CategoryMap = std::map<std::string, CategoryEntry, std::less<>>;
    CategoryMap mCategories;
    std::map<std::string, int32_t, std::less<>> mConfigMap;
    std::string mConfigTimeFormat;
    // Guards the two maps and the time pattern. Never held across file or
    // console output, so the file layer may log while the rules are handled.
    mutable std::shared_mutex mStateLock;

    FileRecord mRulesRecord;
    FileRecord mConfigRecord;
    // Serialises the periodic check, the fatal path's check and direct calls.
    std::mutex mFilesLock;

    std::string mConfigDir;
    std::string mRulesPath;
    std::string mConfigPath;
    std::atomic<bool> mCheckFiles{true};
    size_t mRulesCategoryCount = 0;

    std::atomic<bool> mLevelSwitch[6];
    std::atomic<int32_t> mColorizer{0};
    std::atomic<int32_t> mConsole{1};
    std::atomic<int32_t> mDataLogger{0};
    std::atomic<int32_t> mErrorLogger{1};
    std::atomic<int32_t> mExitOnAssert{0};
    std::atomic<int32_t> mPathDepth{1};
    std::atomic<int32_t> mPathDepthSevere{0};
    std::atomic<int32_t> mQueueSize{20};

    // Site caches are kept for the process logger only: it is never destroyed,
    // so a cached entry never dangles.
    bool mIsProcessLogger = false;
    std::atomic<bool> mWriterRunning{false};
    std::mutex mShutdownLock;
    std::unique_ptr<TIniFileUpdateThread> mReload;
    std::unique_ptr<TMsgQueueUpdateThread> mWriter;
};

#define CDEBUG_LOG(level, category, ...)                                                  \
    do {                                                                                  \
        CDebug& cdebugInstance_ = CDebug::getInstance();                                  \
        const int cdebugLevel_ = (level);                                                 \
        const char* const cdebugCategory_ = (category);                                   \
        static CDebug::SiteCache cdebugSite_;                                             \
        if (cdebugInstance_.passes(cdebugLevel_, cdebugCategory_, cdebugSite_))           \
            cdebugInstance_.log(cdebugLevel_, cdebugCategory_, __LINE__, __FILE__, __func__, \
                                __VA_ARGS__);                                             \
    } while (0)

#define CDEBUG_LOG_TEXT(level, category, text)                                                 \
    do {                                                                                       \
        CDebug& cdebugInstance_ = CDebug::getInstance();                                       \
        const int cdebugLevel_ = (level);                                                      \
        const char* const cdebugCategory_ = (category);                                        \
        static CDebug::SiteCache cdebugSite_;                                                  \
        if (cdebugInstance_.passes(cdebugLevel_, cdebugCategory_, cdebugSite_))                \
            cdebugInstance_.logVariant(cdebugLevel_, cdebugCategory_, __LINE__, __FILE__,      \
                                       __func__, (text));                                      \
    } while (0)
