// Provisional writer: formats straight to standard output until the queued
// writer, the rules files and the filter maps are in place.
#include "cdebug.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {
std::mutex writeLock;
const char levelLetters[] = "DWCLIF";
}

CDebug& CDebug::getInstance()
{
    static CDebug instance;
    return instance;
}

bool CDebug::passes(int level, const char*)
{
    return level >= CDebugLevel::WAR && level <= CDebugLevel::FAT && level != CDebugLevel::LOG &&
           level != CDebugLevel::INF;
}

void CDebug::log(int level, const char* category, int line, const char* file, const char* function,
                 const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    logVariant(level, category, line, file, function, text);
}

void CDebug::logVariant(int level, const char* category, int line, const char* file,
                        const char* function, const std::string& text)
{
    std::lock_guard<std::mutex> guard(writeLock);
    const char letter = level >= 0 && level <= 5 ? levelLetters[level] : ' ';
    std::printf("[%c][%5d][%s] %s - %s() - %s\n", letter, line, category, file, function, text.c_str());
    std::fflush(stdout);
}
