#pragma once
// A test bench for benchtest's handlers: the protocol on an in-memory serial
// port, requests built and sent as the bench sends them, and the answer read
// back byte for byte. One stand-in root serves the whole program, because the
// GPIO driver opens its lines once per process.
#include "benchplatform.h"
#include "comport.h"
#include "../drivers/doubles/memcom.h"
#include "seriallink.h"
#include "test_frame.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>

#include <initializer_list>
#include <string>

inline std::string okStatus()
{
    return statusWord(0x0F00);
}

inline TestRoot& benchRoot()
{
    static TestRoot root;
    return root;
}

struct BenchFixture {
    static constexpr uint32_t kPort = 1;
    TestRoot& root = benchRoot();

    explicit BenchFixture(std::initializer_list<BenchHandler> handlers)
    {
        REQUIRE(comportInit() == 1);
        memcomReset();
        REQUIRE(comportRegister(kPort, memcomDriver, 100, 100, nullptr, nullptr, kPort) == 1);
        REQUIRE(benchBindPort(kPort) == 1);
        serialLinkClearHandlers();
        for (BenchHandler handler : handlers)
            REQUIRE(benchRegisterHandler(handler) == 1);
        setPlatform("");
        writeTextFile(root.path("/var/log/commands.log"), "");
    }
    ~BenchFixture()
    {
        serialLinkClearHandlers();
        benchPlatformForget();
    }
    // Writes the product file ("" removes it) and forgets the cached platform.
    void setPlatform(const std::string& name)
    {
        const std::string product = root.path("/usr/local/velmar/system/product");
        REQUIRE(makeDirs(root.path("/usr/local/velmar/system")));
        if (name.empty())
            std::remove(product.c_str());
        else
            REQUIRE(writeTextFile(product, "Platform=" + name + "\n"));
        benchPlatformForget();
    }
    // Sends one request and runs one protocol tick. -> everything answered.
    std::string exchange(uint16_t command, const std::string& payload)
    {
        memcomTakeOutput(kPort);
        memcomFeed(kPort, frame(command, payload));
        benchProtocolTick();
        return memcomTakeOutput(kPort);
    }
    std::string commands() const { return readTextFile(root.path("/var/log/commands.log")); }
};
