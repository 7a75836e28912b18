#include "version.h"

#include <doctest/doctest.h>

#include <cstring>
#include <ctime>
#include <string>

namespace {

const std::string kDate = "2024-03-03 10:20:30 UTC";
const std::string kDateKeyword = "!Build Date: " + kDate + "!";

std::string urlKeyword(const std::string& repositoryPath)
{
    return "$HeadURL: https://vcs.example.org/usr/local/Repository/" + repositoryPath +
           "/fieldconsole/runtime/version.cpp $";
}

} // namespace

TEST_CASE("the repository path of the URL keyword decides version, flags and texts")
{
    struct Case {
        const char* path;
        const char* versionPath;
        bool tagged;
        const char* versionText;
        unsigned major, minor;
        char patchLetter;
        bool plainRelease;
        std::string fullText;
    };
    const Case cases[] = {
        {"tags/KESTROM-Ver-1_11", "tags/KESTROM-Ver-1_11", true, "1.11", 1, 11, 0, true, "KESTROM 1.11"},
        {"tags/KESTROM-Ver-2_03b", "tags/KESTROM-Ver-2_03b", true, "2.03b", 2, 3, 'b', false, "KESTROM 2.03b"},
        {"tags/KESTROM-X-Ver-10_5", "tags/KESTROM-X-Ver-10_5", true, "10.5", 10, 5, 0, true, "KESTROM-X 10.5"},
        {"tags/A-Ver-7", "tags/A-Ver-7", true, "7", 0, 0, 0, true, "A 7"},
        {"tags/release5", "tags/release5", true, "", 0, 0, 0, true, "Dev-unknown TAG " + kDate},
        {"tags/KESTROM-1_11-x", "tags/KESTROM-1_11-x", true, "x", 0, 0, 'x', false, "Dev-unknown TAG " + kDate},
        {"branches/feature-x", "branches/feature-x", false, "", 0, 0, 0, false, "Dev-feature-x " + kDate},
        {"trunk", "", false, "", 0, 0, 0, false, "Dev-trunk " + kDate},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        const SuiteVersions v(urlKeyword(c.path), kDateKeyword);
        CHECK(v.versionPath() == c.versionPath);
        CHECK(v.isTaggedBuild() == c.tagged);
        CHECK(v.versionText() == c.versionText);
        CHECK(v.hasVersionText() == (std::strlen(c.versionText) > 0));
        CHECK(v.majorNumber() == c.major);
        CHECK(v.minorNumber() == c.minor);
        CHECK(v.patchLetter() == c.patchLetter);
        CHECK(v.hasPatchLetter() == (c.patchLetter != 0));
        CHECK(v.isPlainRelease() == c.plainRelease);
        CHECK(v.fullVersionText() == c.fullText);
    }
}

TEST_CASE("only a repository layout followed by the source's own place names a version")
{
    const std::string tail = "/fieldconsole/runtime/version.cpp $";
    struct Case {
        std::string keyword;
        const char* versionPath;
    };
    const Case cases[] = {
        {"$HeadURL: https://h/usr/local/Repository/tags/K-Ver-1_2/version.cpp $", "tags/K-Ver-1_2"},
        {"$HeadURL: https://h/usr/local/Repository/tags/K-Ver-1_2 $", ""},  // no component after the tag
        {"$HeadURL: https://h/a/b/usr/local/Repository/branches/x" + tail, "branches/x"},
        {"$HeadURL: https://usr/local/Repository/tags/K-Ver-1_2" + tail, ""},  // host is not path
        {"$HeadURL: https://h/usr/local/Repo/tags/K-Ver-1_2" + tail, ""},
        {"$HeadURL: https://h/usr/local/Repository/trunk/K-Ver-1_2" + tail, ""},
        {"$HeadURL$", ""},  // keyword never expanded
        {"", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.keyword);
        CHECK(SuiteVersions(c.keyword, kDateKeyword).versionPath() == c.versionPath);
    }
}

TEST_CASE("the build date keyword gives the date text and UTC epoch seconds")
{
    struct Case {
        std::string keyword;
        const char* text;
        int64_t epoch;
    };
    const Case cases[] = {
        {kDateKeyword, "2024-03-03 10:20:30 UTC", 1709461230},
        {"!Build Date: 1901-01-01 00:00:00 UTC!", "1901-01-01 00:00:00 UTC", -2177452800LL},
        {"!Build Date: 2038-01-19 03:14:08 UTC!", "2038-01-19 03:14:08 UTC", 2147483648LL},
        {"!Build Date: $", "$", 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.keyword);
        const SuiteVersions v(urlKeyword("trunk"), c.keyword);
        CHECK(v.buildDateText() == c.text);
        CHECK(v.buildTime() == c.epoch);
    }
}

TEST_CASE("version numbers and their texts, with and without a patch letter")
{
    struct Case {
        const char* path;
        uint8_t major, minor;
        char letter;
        const char* text;
        const char* fullText;
    };
    const Case cases[] = {
        {"tags/KESTROM-Ver-1_11", 1, 11, ' ', "1.11 ", "1.11.00"},
        {"tags/KESTROM-Ver-1_11a", 1, 11, 'a', "1.11a", "1.11.00"},
        {"tags/KESTROM-Ver-2_03b", 2, 3, 'b', "2.03b", "2.03.00"},
        {"tags/A-Ver-7", 7, 0, ' ', "7.00 ", "7.00.00"},
        {"tags/A-Ver-3_b", 3, 0, 'b', "3.00b", "3.00.00"},
        {"tags/A-Ver-123_456", 123, 200, ' ', "23.00 ", "23.00.00"},  // modulo 256, printed modulo 100
        {"tags/release5", 0, 0, ' ', "0.00 ", "0.00.00"},
        {"branches/feature-x", 0, 0, ' ', "0.00 ", "0.00.00"},
        {"trunk", 0, 0, ' ', "0.00 ", "0.00.00"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        const VersionNumbers n = versionNumbersFrom(SuiteVersions(urlKeyword(c.path), kDateKeyword));
        CHECK(n.major == c.major);
        CHECK(n.minor == c.minor);
        CHECK(n.letter == c.letter);
        CHECK(n.build == 0);
        CHECK(versionNumbersText(n) == c.text);
        CHECK(versionNumbersFullText(n) == c.fullText);
    }
}

TEST_CASE("the identity of this build")
{
    const SuiteVersions& build = SuiteVersions::build();
    // The keywords the build wrote are well formed.
    CHECK(build.buildDateText().size() == 23);
    CHECK(build.buildDateText().compare(19, 4, " UTC") == 0);
    const time_t t = static_cast<time_t>(build.buildTime());
    struct tm parts;
    REQUIRE(gmtime_r(&t, &parts) != nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    CHECK(build.buildDateText() == text);
    CHECK(build.fullVersionText().find(build.isTaggedBuild() ? build.versionText() : build.buildDateText()) !=
          std::string::npos);

    IdentityRecord record;
    identityGet(&record);
    CHECK(std::string(record.company) == "Velmar Technologies");
    CHECK(std::string(record.product) == "Velmar KSN Sprayer");
    CHECK(std::string(record.variant) == "Multi");
    CHECK(std::strlen(record.legalNotice) > 0);
    char buffer[64];
    identityGetCompany(buffer);
    CHECK(std::string(buffer) == "Velmar Technologies");
    identityGetProduct(buffer);
    CHECK(std::string(buffer) == "Velmar KSN Sprayer");
    identityGetVariant(buffer);
    CHECK(std::string(buffer) == "Multi");

    CHECK(versionGetNumber() == record.version.major * 100u + record.version.minor);
    CHECK(versionGetLetter() == record.version.letter);
    CHECK(record.version.build == 0);
    if (!build.isTaggedBuild()) {
        CHECK(std::string(versionGetString()) == "0.00 ");
        CHECK(std::string(versionGetFullString()) == "0.00.00");
        CHECK(versionGetNumber() == 0);
        CHECK(versionGetLetter() == ' ');
    } else {
        CHECK(std::string(versionGetString()) == versionNumbersText(versionNumbersFrom(build)));
    }
}
