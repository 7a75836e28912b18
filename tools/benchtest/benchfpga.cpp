#include "benchfpga.h"

#include "benchcommand.h"
#include "ioextend.h"

namespace {

bool gOpened = false;

bool validAddress(uint32_t bank, uint16_t offset)
{
    static const uint16_t lastOffset[] = {0x54, 0x124, 0x24, 0x04};
    return bank >= 1 && bank <= 4 && offset <= lastOffset[bank - 1];
}

}  // namespace

int benchHandleFpga(BenchRequest request, BenchReply* reply)
{
    if (!gOpened) {
        ioextend_Init();
        ioextend_ResetOutputs();
        gOpened = true;
    }
    static const BenchCommandLength commands[] = {{0x2300, 7}, {0x2302, 3}};
    const BenchClaim claim = benchClaim(request, reply, commands, 2);
    if (claim != BENCH_EXECUTE)
        return claim;
    const uint8_t bank = benchPayload8(request, 0);
    const uint16_t offset = benchPayload16(request, 1);
    const uint8_t valid = validAddress(bank, offset) ? 1 : 0;
    uint8_t payload[8];
    payload[0] = bank;
    benchPut16(payload + 1, offset);
    if (request.command == 0x2300) {
        if (valid)
            ioextend_ioWriteRegister(bank, offset, benchPayload32(request, 3));
        payload[3] = valid;
        benchSetReplyFrame(reply, 0x2301, payload, 4);
    } else {
        benchPut32(payload + 3, valid ? ioextend_ioReadRegister(bank, offset) : 0);
        payload[7] = valid;
        benchSetReplyFrame(reply, 0x2303, payload, 8);
    }
    return 1;
}
