#include "version.h"

#include "toolsmisc.h"
#include "versionkeywords.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

const char kUrlPrefix[] = "$HeadURL: ";
const char kUrlSuffix[] = " $";
const size_t kDateStart = 13;
const size_t kDateLength = 23;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Leading decimal digits of the text, 0 when there are none.
unsigned leadingNumber(const std::string& text)
{
    unsigned value = 0;
    for (char c : text) {
        if (!isDigit(c))
            break;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

// The path of the URL inside the keyword; the scheme and host do not matter.
std::string urlPath(const std::string& keyword)
{
    const size_t prefix = sizeof kUrlPrefix - 1;
    const size_t suffix = sizeof kUrlSuffix - 1;
    if (keyword.size() < prefix + suffix || keyword.compare(0, prefix, kUrlPrefix) != 0 ||
        keyword.compare(keyword.size() - suffix, suffix, kUrlSuffix) != 0)
        return std::string();
    const std::string url = keyword.substr(prefix, keyword.size() - prefix - suffix);
    const size_t scheme = url.find("://");
    if (scheme == std::string::npos)
        return url;
    const size_t path = url.find('/', scheme + 3);
    return path == std::string::npos ? std::string() : url.substr(path);
}

std::string versionPathOf(const std::string& urlKeyword)
{
    const std::vector<std::string> parts = splitString(urlPath(urlKeyword), "/");
    // The repository layout comes first; the last five components are the
    // source file's own place in the tree.
    for (size_t i = 0; i + 5 < parts.size(); ++i) {
        if (parts[i] == "usr" && parts[i + 1] == "local" && parts[i + 2] == "Repository" &&
            (parts[i + 3] == "branches" || parts[i + 3] == "tags"))
            return parts[i + 3] + "/" + parts[i + 4];
    }
    return std::string();
}

// The number written by `digits` digits at `at`, -1 when they are not all digits.
int field(const std::string& text, size_t at, size_t digits)
{
    if (at + digits > text.size())
        return -1;
    int value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (!isDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

int64_t epochOf(const std::string& date)
{
    struct tm t = {};
    const int year = field(date, 0, 4), month = field(date, 5, 2), day = field(date, 8, 2);
    const int hour = field(date, 11, 2), minute = field(date, 14, 2), second = field(date, 17, 2);
    if (year < 0 || month < 1 || day < 1 || hour < 0 || minute < 0 || second < 0)
        return 0;
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return static_cast<int64_t>(timegm(&t));
}

std::string fullTextOf(const std::string& path, const std::string& versionText, const std::string& date)
{
    if (path.empty())
        return "Dev-trunk " + date;
    const size_t slash = path.find('/');
    const std::string kind = path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    if (kind == "branches")
        return "Dev-" + name + " " + date;
    if (kind == "tags") {
        const std::vector<std::string> parts = splitString(name, "-");
        for (size_t k = 1; k + 1 < parts.size(); ++k) {
            if (parts[k] != "Ver")
                continue;
            std::string product = parts[0];
            for (size_t j = 1; j < k; ++j)
                product += "-" + parts[j];
            return product + " " + versionText;
        }
    }
    return "Dev-unknown TAG " + date;
}

} // namespace

SuiteVersions::SuiteVersions(const std::string& urlKeyword, const std::string& buildDateKeyword)
    : mVersionPath(versionPathOf(urlKeyword)),
      mTagged(mVersionPath.compare(0, 5, "tags/") == 0),
      mMajor(0),
      mMinor(0),
      mPatchLetter(0),
      mBuildDate(buildDateKeyword.size() > kDateStart ? buildDateKeyword.substr(kDateStart, kDateLength)
                                                      : std::string()),
      mBuildTime(epochOf(mBuildDate))
{
    if (mTagged) {
        const std::vector<std::string> parts = splitString(mVersionPath, "-");
        if (parts.size() >= 3) {
            mVersionText = parts.back();
            for (char& c : mVersionText) {
                if (c == '_')
                    c = '.';
            }
        }
        const size_t dot = mVersionText.find('.');
        if (dot != std::string::npos) {
            mMajor = leadingNumber(mVersionText.substr(0, dot));
            mMinor = leadingNumber(mVersionText.substr(dot + 1));
        }
        if (!mVersionText.empty() && mVersionText.back() >= 'a' && mVersionText.back() <= 'z')
            mPatchLetter = mVersionText.back();
    }
    mFullVersionText = fullTextOf(mVersionPath, mVersionText, mBuildDate);
}

const SuiteVersions& SuiteVersions::build()
{
    static const SuiteVersions versions(VERSION_URL_KEYWORD, VERSION_BUILD_DATE_KEYWORD);
    return versions;
}

VersionNumbers versionNumbersFrom(const SuiteVersions& versions)
{
    VersionNumbers numbers = {0, 0, ' ', 0};
    if (!versions.isTaggedBuild())
        return numbers;
    const std::string& text = versions.versionText();
    size_t i = 0;
    unsigned major = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        major = major * 10 + static_cast<unsigned>(text[i] - '0');
    numbers.major = static_cast<uint8_t>(major);
    // Skip the separator after the major number.
    if (++i >= text.size())
        return numbers;
    if (!isDigit(text[i])) {
        numbers.letter = text[i];
        return numbers;
    }
    unsigned minor = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        minor = minor * 10 + static_cast<unsigned>(text[i] - '0');
    numbers.minor = static_cast<uint8_t>(minor);
    if (i < text.size())
        numbers.letter = text[i];
    return numbers;
}

std::string versionNumbersText(const VersionNumbers& numbers)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u%c", numbers.major % 100u, numbers.minor % 100u, numbers.letter);
    return text;
}

std::string versionNumbersFullText(const VersionNumbers& numbers)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u.%02u", numbers.major % 100u, numbers.minor % 100u,
                  numbers.build % 100u);
    return text;
}

namespace {

const IdentityRecord& identity()
{
    static const IdentityRecord record = {
        "Velmar Technologies",
        "Velmar KSN Sprayer",
        versionNumbersFrom(SuiteVersions::build()),
        "Multi",
        "Copyright (c) Velmar Technologies. All rights reserved. "
        "This software may be used only with the console it was delivered with.",
    };
    return record;
}

} // namespace

void identityInit()
{
    identity();
}

void identityGet(IdentityRecord* out)
{
    if (out != nullptr)
        *out = identity();
}

void identityGetCompany(char* destination)
{
    std::strcpy(destination, identity().company);
}

void identityGetProduct(char* destination)
{
    std::strcpy(destination, identity().product);
}

void identityGetVariant(char* destination)
{
    std::strcpy(destination, identity().variant);
}

uint32_t versionGetNumber()
{
    return identity().version.major * 100u + identity().version.minor;
}

char versionGetLetter()
{
    return identity().version.letter;
}

const char* versionGetString()
{
    static const std::string text = versionNumbersText(identity().version);
    return text.c_str();
}

const char* versionGetFullString()
{
    static const std::string text = versionNumbersFullText(identity().version);
    return text.c_str();
}
