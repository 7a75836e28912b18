#pragma once
// Process-wide logger. Modules log through the call-site macros below, which
// evaluate no argument of a message that the filter drops.
#include <string>

class CDebugLevel {
public:
    enum Level { DEB = 0, WAR = 1, CRI = 2, LOG = 3, INF = 4, FAT = 5, LEV_NO = 6 };
};

class CDebug {
public:
    static CDebug& getInstance();
    // The call-site filter: global switch of the level, else the category's switch.
    bool passes(int level, const char* category);
    void log(int level, const char* category, int line, const char* file, const char* function,
             const char* format, ...) __attribute__((format(printf, 7, 8)));
    void logVariant(int level, const char* category, int line, const char* file,
                    const char* function, const std::string& text);
};

#define CDEBUG_LOG(level, category, ...)                                                    \
    do {                                                                                    \
        CDebug& cdebugInstance_ = CDebug::getInstance();                                    \
        if (cdebugInstance_.passes((level), (category)))                                    \
            cdebugInstance_.log((level), (category), __LINE__, __FILE__, __func__, __VA_ARGS__); \
    } while (0)

#define CDEBUG_LOG_TEXT(level, category, text)                                                 \
    do {                                                                                       \
        CDebug& cdebugInstance_ = CDebug::getInstance();                                       \
        if (cdebugInstance_.passes((level), (category)))                                       \
            cdebugInstance_.logVariant((level), (category), __LINE__, __FILE__, __func__, (text)); \
    } while (0)
