#include "benchplatform.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>

#include <cstring>
#include <string>

namespace {

struct ProductFile {
    TestRoot root;
    ProductFile() { benchPlatformForget(); }
    ~ProductFile() { benchPlatformForget(); }
    void write(const std::string& text)
    {
        REQUIRE(makeDirs(root.path("/usr/local/velmar/system")));
        REQUIRE(writeTextFile(root.path("/usr/local/velmar/system/product"), text));
    }
};

}  // namespace

TEST_CASE("no platform name contains an earlier one")
{
    for (int later = 1; later <= 9; ++later) {
        REQUIRE(benchPlatformName(later) != nullptr);
        for (int earlier = 1; earlier < later; ++earlier) {
            CAPTURE(later);
            CHECK(std::strstr(benchPlatformName(later), benchPlatformName(earlier)) == nullptr);
        }
    }
    CHECK(std::string(benchPlatformName(1)) == "kestrom");
    CHECK(std::string(benchPlatformName(6)) == "ostrand");
    CHECK(benchPlatformName(0) == nullptr);
    CHECK(benchPlatformName(10) == nullptr);
}

TEST_CASE_FIXTURE(ProductFile, "the product file's Platform= lines decide")
{
    const std::string n3 = benchPlatformName(3);
    const std::string n9 = benchPlatformName(9);
    struct Case {
        const char* name;
        std::string text;
        int platform;
    };
    const Case cases[] = {
        {"table order decides, not the position in the line", "Platform=" + n9 + "-" + n3 + "\n", 3},
        {"a name without Platform= is ignored", "Name=ostrand\nPlatform=none\n", 0},
        {"a second Platform= line can decide", "Platform=unknown\nModel=x\nPlatform=ostrand rev2\n", 6},
        {"the first recognised line wins", "Platform=kestrom\nPlatform=ostrand\n", 1},
        {"anywhere in the line", "  # Platform= is  kestrom", 1},
        {"case matters", "Platform=Kestrom\n", 0},
        {"no line end at the end", "Platform=" + std::string(benchPlatformName(8)), 8},
        {"an empty file", "", 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        write(c.text);
        benchPlatformForget();
        CHECK(readPlatform() == c.platform);
    }
}

TEST_CASE_FIXTURE(ProductFile, "the number is read once and cached, also without a file")
{
    CHECK(readPlatform() == 0);
    write("Platform=ostrand\n");
    CHECK(readPlatform() == 0);
    benchPlatformForget();
    CHECK(readPlatform() == 6);
    write("Platform=kestrom\n");
    CHECK(readPlatform() == 6);
}
