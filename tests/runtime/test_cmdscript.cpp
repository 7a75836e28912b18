// Scripted exit status and output of recorded commands under the system root.
#include "cmdrunner.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <string>

TEST_CASE("recorded commands give the status and output scripted for them")
{
    TestRoot root;
    const std::string pidof = "pidof appl.benchtest > /dev/null";
    const std::string ifconfig = "ifconfig eth0 | grep \"inet addr\" | awk -F: '{print $2}' | awk '{print $1}'";
    std::string output = "stale";

    CHECK(cmdRun(pidof) == 0);  // nothing scripted: success
    CHECK(cmdRunRead(ifconfig, &output) == 0);
    CHECK(output.empty());

    REQUIRE(cmdScript(pidof, 1, ""));
    REQUIRE(cmdScript(ifconfig, 0, "192.168.1.20\nsecond line\n"));
    CHECK(cmdRun(pidof) == 1);
    CHECK(cmdRun(pidof + " ") == 0);  // only the exact line
    CHECK(cmdRunRead(ifconfig, &output) == 0);
    CHECK(output == "192.168.1.20\nsecond line\n");
    CHECK(cmdRunRead(ifconfig, &output, 5) == 0);
    CHECK(output == "192.1");

    REQUIRE(cmdScript(pidof, 0, ""));  // a later entry wins
    CHECK(cmdRun(pidof) == 0);

    CHECK(readTextFile(cmdLogPath()) == pidof + "\n" + ifconfig + "\n" + pidof + "\n" + pidof + " \n" + ifconfig +
                                            "\n" + ifconfig + "\n" + pidof + "\n");
}

TEST_CASE("without a system root nothing can be scripted")
{
    NoSystemRoot bare;
    CHECK_FALSE(cmdScript("true", 1, ""));
}
