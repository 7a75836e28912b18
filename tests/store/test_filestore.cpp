// The store file: layout at creation, positioned reads and writes by the
// writer thread, damaged files and failing writes.
#include <doctest/doctest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

#include "datastore.h"
#include "filestore.h"
#include "store_env.h"

namespace {

const std::string& workDir = storeTestWorkDir();

std::string header()
{
    return std::string(FILESTORE_HEADER_SIZE, '\0');
}

} // namespace

TEST_CASE("a missing file is created with its zero header")
{
    filestore store("fresh");
    CHECK(store.status() == FILESTORE_OK);
    CHECK(store.isOpen());
    CHECK(store.path() == "fresh/fdatasto.dat");
    CHECK(readTextFile("fresh/fdatasto.dat") == header());
}

TEST_CASE("positioned writes land at header plus offset, reads come back")
{
    filestore store("rw");
    REQUIRE(store.isOpen());
    CHECK(store.write(34, 100, 3, "abc") == 1);
    CHECK(store.write(35, 0, 2, "xy") == 1);
    CHECK(store.write(34, 101, 1, "Z") == 1); // later request wins
    store.flush();
    REQUIRE(store.waitIdle(5000));
    const std::string file = readTextFile("rw/fdatasto.dat");
    REQUIRE(file.size() == 123);
    CHECK(file.substr(0, 20) == header());
    CHECK(file.substr(20, 2) == "xy");
    CHECK(file.substr(120, 3) == "aZc");
    char buffer[3] = {};
    CHECK(store.read(100, 3, buffer) == 1);
    CHECK(std::string(buffer, 3) == "aZc");
    CHECK(store.read(102, 2, buffer) == 0); // beyond the end
    CHECK(store.acceptedWrites() == 3);
    CHECK(store.failedWrites() == 0);
}

TEST_CASE("an existing file keeps its image; byte 0 is cleared")
{
    std::string old = header() + "IMAGE";
    old[0] = '\x7f';
    mkdir("kept", 0755);
    REQUIRE(writeTextFile("kept/fdatasto.dat", old));
    filestore store("kept");
    CHECK(store.status() == FILESTORE_OK);
    old[0] = '\0';
    CHECK(readTextFile("kept/fdatasto.dat") == old);
    char buffer[5];
    CHECK(store.read(0, 5, buffer) == 1);
    CHECK(std::string(buffer, 5) == "IMAGE");
}

TEST_CASE("an empty or truncated file is laid out anew and stays usable")
{
    for (const std::string& content : {std::string(), std::string("\x01\x02\x03", 3), std::string(19, 'x')}) {
        CAPTURE(content.size());
        mkdir("damaged", 0755);
        REQUIRE(writeTextFile("damaged/fdatasto.dat", content));
        filestore store("damaged");
        CHECK(store.status() == FILESTORE_OK);
        REQUIRE(store.isOpen());
        CHECK(store.write(1, 0, 4, "DATA") == 1);
        store.flush();
        REQUIRE(store.waitIdle(5000));
        CHECK(readTextFile("damaged/fdatasto.dat") == header() + "DATA");
    }
}

TEST_CASE("a store whose directory cannot be made refuses reads and writes")
{
    REQUIRE(writeTextFile("blocker", "x"));
    filestore store("blocker/sub");
    CHECK(store.status() == FILESTORE_NO_DIRECTORY);
    CHECK_FALSE(store.isOpen());
    char buffer[4];
    CHECK(store.write(1, 0, 4, "DATA") == 0);
    CHECK(store.read(0, 4, buffer) == 0);
}

TEST_CASE("a failed write is logged and reported, and the rest of the drain is written")
{
    REQUIRE(datastoreInit(2) == 0);
    filestore store("limited");
    REQUIRE(store.isOpen());
    // Writes beyond the file size limit fail with EFBIG instead of raising SIGXFSZ.
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit limit = saved;
    limit.rlim_cur = 16384;
    REQUIRE(setrlimit(RLIMIT_FSIZE, &limit) == 0);

    OutputCapture output;
    CHECK(store.write(33, 100, 2, "aa") == 1);
    CHECK(store.write(34, 20000, 2, "bb") == 1);
    CHECK(store.write(36, 30000, 2, "dd") == 1);
    CHECK(store.write(35, 200, 2, "cc") == 1);
    store.flush();
    const bool idle = store.waitIdle(5000);
    setrlimit(RLIMIT_FSIZE, &saved);
    REQUIRE(idle);
    CHECK(store.failedWrites() == 2);
    const std::string file = readTextFile("limited/fdatasto.dat");
    REQUIRE(file.size() == 222);
    CHECK(file.substr(120, 2) == "aa");
    CHECK(file.substr(220, 2) == "cc");
    CHECK(output.waitFor("write of item 34 at offset 20000 failed"));
    CHECK(output.waitFor("succeed again after 2 failures"));
    CHECK(output.text().find("offset 30000") == std::string::npos); // one line per streak
    CHECK(datastoreIsDirty(34)); // offered again by the next write-behind pass
    CHECK(datastoreIsDirty(36));
    CHECK_FALSE(datastoreIsDirty(33));
}

TEST_CASE("the global store is made in fdatasto of the working directory")
{
    filestoreDestroy();
    CHECK(filestoreCreate() == 1);
    REQUIRE(filestoreInstance() != nullptr);
    CHECK(filestoreInstance()->path() == "fdatasto/fdatasto.dat");
    CHECK(filestoreWrite(0, 5, 10, 2, "hi") == 1);
    filestoreFlush();
    REQUIRE(filestoreInstance()->waitIdle(5000));
    char buffer[2];
    CHECK(filestoreRead(0, 5, 10, 2, buffer) == 1);
    CHECK(std::string(buffer, 2) == "hi");
    filestoreDestroy();
    CHECK(filestoreWrite(0, 5, 10, 2, "hi") == 0);
    CHECK(filestoreRead(0, 5, 10, 2, buffer) == 0);
}
