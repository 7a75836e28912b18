#pragma once
// The software version, derived from two keyword lines that the build fills in:
// the repository URL the program was built from ("$HeadURL: <url> $") and the
// build date ("!Build Date: YYYY-MM-DD hh:mm:ss UTC!"). A tag path
// .../usr/local/Repository/tags/NAME-Ver-MAJOR_MINOR[letter]/... makes a release.
#include <cstdint>
#include <string>

class SuiteVersions {
public:
    // Parses any pair of keyword texts (the build's own ones: build()).
    SuiteVersions(const std::string& urlKeyword, const std::string& buildDateKeyword);

    // The versions of this build, parsed once.
    static const SuiteVersions& build();

    // "tags/<name>" or "branches/<name>", else empty (trunk or unknown layout).
    const std::string& versionPath() const { return mVersionPath; }
    bool isTaggedBuild() const { return mTagged; }
    // "1.11" for tags/KESTROM-Ver-1_11; empty for untagged builds.
    const std::string& versionText() const { return mVersionText; }
    // Numbers around the first '.' of the version text; 0 without a '.'.
    unsigned majorNumber() const { return mMajor; }
    unsigned minorNumber() const { return mMinor; }
    bool hasPatchLetter() const { return mPatchLetter != 0; }
    // The trailing 'a'..'z' of a tagged version text, else 0.
    char patchLetter() const { return mPatchLetter; }
    bool isPlainRelease() const { return mTagged && mPatchLetter == 0; }
    bool hasVersionText() const { return !mVersionText.empty(); }
    // "YYYY-MM-DD hh:mm:ss UTC".
    const std::string& buildDateText() const { return mBuildDate; }
    // The build date as UTC epoch seconds.
    int64_t buildTime() const { return mBuildTime; }
    // "KESTROM 1.11", "Dev-<branch> <date>", "Dev-trunk <date>" or "Dev-unknown TAG <date>".
    const std::string& fullVersionText() const { return mFullVersionText; }

private:
    std::string mVersionPath;
    bool mTagged;
    std::string mVersionText;
    unsigned mMajor;
    unsigned mMinor;
    char mPatchLetter;
    std::string mBuildDate;
    int64_t mBuildTime;
    std::string mFullVersionText;
};

// The numeric version parts shown on the About page and reported over the
// register-access link. An untagged build is 0.00 with a blank letter.
struct VersionNumbers {
    uint8_t major;
    uint8_t minor;
    char letter;    // ' ' when there is none
    uint8_t build;  // always 0
};

// Reads "2.03b" as major 2, minor 3, letter 'b' (each modulo 256); untagged gives 0.00 ' '.
VersionNumbers versionNumbersFrom(const SuiteVersions& versions);
// "%u.%02u%c" of major and minor (each modulo 100) and the letter: "1.11 ", "2.03b".
std::string versionNumbersText(const VersionNumbers& numbers);
// "%u.%02u.%02u" of major, minor and build (each modulo 100): "1.11.00".
std::string versionNumbersFullText(const VersionNumbers& numbers);

struct IdentityRecord {
    const char* company;
    const char* product;
    VersionNumbers version;
    const char* variant;
    const char* legalNotice;
};

// Fills the record from this build's versions; done on the first use of any
// function below, later calls do nothing.
void identityInit();
void identityGet(IdentityRecord* out);
// Copy the text into the caller's buffer, which must be large enough.
void identityGetCompany(char* destination);
void identityGetProduct(char* destination);
void identityGetVariant(char* destination);

// major * 100 + minor.
uint32_t versionGetNumber();
char versionGetLetter();
// versionNumbersText / versionNumbersFullText of this build, built once.
const char* versionGetString();
const char* versionGetFullString();
