#include "memcom.h"

#include <deque>
#include <mutex>

namespace {
struct MemPort {
    std::deque<uint8_t> rx;
    std::string tx;
    std::vector<std::string> blocks;
    std::vector<ComPortConfig> configs;
    bool refuse = false;
    uint16_t pending = 0;
};

std::mutex gLock;
MemPort gPorts[4];
}  // namespace

uint32_t memcomDriver(ComDriverCommand* block, uint32_t argument)
{
    if (argument >= 4)
        return 0;
    std::lock_guard<std::mutex> guard(gLock);
    MemPort& port = gPorts[argument];
    switch (block->code) {
    case COM_CMD_INIT:
    case COM_CMD_FLUSH:
    case COM_CMD_RX_BUFFER:
    case COM_CMD_TX_BUFFER:
        return 1;
    case COM_CMD_INFO:
        *reinterpret_cast<ComDriverInfo*>(block->param) = ComDriverInfo{};
        return 1;
    case COM_CMD_CONFIGURE:
        port.configs.push_back(*reinterpret_cast<const ComPortConfig*>(block->param));
        return 1;
    case COM_CMD_STATUS:
        *reinterpret_cast<uint32_t*>(block->param) = 0;
        return 1;
    case COM_CMD_RX_COUNT:
        block->param = port.rx.size();
        return 1;
    case COM_CMD_TX_PENDING:
        block->param = port.pending;
        return 1;
    case COM_CMD_GET_BYTE:
        if (port.rx.empty())
            return 0;
        block->param = port.rx.front();
        port.rx.pop_front();
        return 1;
    case COM_CMD_SEND_BLOCK: {
        if (port.refuse)
            return 0;
        const ComSendBlock* send = reinterpret_cast<const ComSendBlock*>(block->param);
        std::string bytes(reinterpret_cast<const char*>(send->data), send->length);
        port.tx += bytes;
        port.blocks.push_back(bytes);
        return 1;
    }
    default:
        return 0;
    }
}

void memcomReset()
{
    std::lock_guard<std::mutex> guard(gLock);
    for (MemPort& port : gPorts)
        port = MemPort{};
}

void memcomFeed(uint32_t argument, const std::string& bytes)
{
    std::lock_guard<std::mutex> guard(gLock);
    gPorts[argument].rx.insert(gPorts[argument].rx.end(), bytes.begin(), bytes.end());
}

std::string memcomTakeOutput(uint32_t argument)
{
    std::lock_guard<std::mutex> guard(gLock);
    std::string out;
    out.swap(gPorts[argument].tx);
    return out;
}

std::vector<std::string> memcomBlocks(uint32_t argument)
{
    std::lock_guard<std::mutex> guard(gLock);
    return gPorts[argument].blocks;
}

std::vector<ComPortConfig> memcomConfigs(uint32_t argument)
{
    std::lock_guard<std::mutex> guard(gLock);
    return gPorts[argument].configs;
}

size_t memcomWaiting(uint32_t argument)
{
    std::lock_guard<std::mutex> guard(gLock);
    return gPorts[argument].rx.size();
}

void memcomSetRefuse(uint32_t argument, bool refuse, uint16_t pending)
{
    std::lock_guard<std::mutex> guard(gLock);
    gPorts[argument].refuse = refuse;
    gPorts[argument].pending = pending;
}
