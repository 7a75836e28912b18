#include "crc.h"

#include <doctest/doctest.h>
#include <cstdint>
#include <memory>
#include <string>

namespace {
struct CrcCase {
    CRC* (*factory)();
    const char* name;
    uint32_t width;
    uint32_t checkAbc;
    uint32_t empty;
};

const CrcCase crcCases[] = {
    {CRC::createCrc8, "CRC-8", 8, 0xC5, 0x00},
    {CRC::createCrc15Can, "CRC-15-CAN", 15, 0x2C73, 0x0000},
    {CRC::createCrc16Ccitt, "CRC-16-CCITT", 16, 0x514A, 0xFFFF},
    {CRC::createCrc16, "CRC-16", 16, 0x9738, 0x0000},
    {CRC::createCrc24, "CRC-24", 24, 0x4845BF, 0x000000},
    {CRC::createCrc32, "CRC-32", 32, 0x352441C2, 0x00000000},
    {CRC::createCrc32K, "CRC-32K", 32, 0xBA2322AC, 0x00000000},
};
}  // namespace

TEST_CASE("every parameter set gives its check value for abc and its empty-input value")
{
    for (const CrcCase& c : crcCases) {
        CAPTURE(c.name);
        std::unique_ptr<CRC> whole(c.factory());
        CHECK(std::string(whole->name()) == c.name);
        CHECK(whole->width() == c.width);
        CHECK(whole->result() == c.empty);
        whole->updateString("abc");
        CHECK(whole->result() == c.checkAbc);

        std::unique_ptr<CRC> block(c.factory());
        block->updateBlock("abc", 3);
        CHECK(block->result() == c.checkAbc);
    }
}

TEST_CASE("feeding in pieces, reading between them, and empty feeds leave the result unchanged")
{
    for (const CrcCase& c : crcCases) {
        CAPTURE(c.name);
        std::unique_ptr<CRC> pieces(c.factory());
        pieces->updateString("");
        pieces->updateBlock("ignored", 0);
        pieces->updateBlock("ignored", -5);
        CHECK(pieces->result() == c.empty);
        pieces->update('a');
        const uint32_t between = pieces->result();
        CHECK(pieces->result() == between);
        pieces->updateString("bc");
        CHECK(pieces->result() == c.checkAbc);
    }
}

TEST_CASE("longer input matches the catalogued check value of the standard sets")
{
    // "123456789" is the catalogue's check string for the published sets.
    struct Catalogued {
        CRC* (*factory)();
        uint32_t check;
    } const sets[] = {
        {CRC::createCrc16Ccitt, 0x29B1},
        {CRC::createCrc16, 0xBB3D},
        {CRC::createCrc32, 0xCBF43926},
    };
    for (const Catalogued& s : sets) {
        std::unique_ptr<CRC> crc(s.factory());
        CAPTURE(crc->name());
        crc->updateString("123456789");
        CHECK(crc->result() == s.check);
    }
}

TEST_CASE("reflect reverses exactly the lowest width bits")
{
    std::unique_ptr<CRC> crc16(CRC::createCrc16());
    CHECK(crc16->reflect(0x0001) == 0x8000);
    CHECK(crc16->reflect(0x1234) == 0x2C48);
    CHECK(crc16->reflect(0xFFFF0000) == 0x0000);
    std::unique_ptr<CRC> crc8(CRC::createCrc8());
    CHECK(crc8->reflect(0x01) == 0x80);
    CHECK(crc8->reflect(0x1F0) == 0x0F);
    std::unique_ptr<CRC> crc32(CRC::createCrc32());
    CHECK(crc32->reflect(0x00000001) == 0x80000000);
}
