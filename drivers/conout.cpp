#include "conout.h"

#include "threadfunc.h"

#include <cstdio>

namespace {
threadfunc::mutex& conoutMutex()
{
    static threadfunc::mutex lock;
    return lock;
}

void printBlock(const ComSendBlock* block)
{
    size_t length = block->length;
    // A text handed over with its terminating zero is printed without it.
    if (length > 0 && block->data[length - 1] == 0)
        --length;
    // Written byte for byte, so that binary records reach the output whole.
    std::fwrite(block->data, 1, length, stdout);
    std::fflush(stdout);
}
}  // namespace

uint32_t conoutDriver(ComDriverCommand* block, uint32_t)
{
    if (block == nullptr)
        return 0;
    threadfunc::mutex& lock = conoutMutex();
    lock.lock();
    uint32_t result = 1;
    switch (block->code) {
    case COM_CMD_INIT:
    case COM_CMD_FLUSH:
    case COM_CMD_CONFIGURE:
    case COM_CMD_RX_BUFFER:
    case COM_CMD_TX_BUFFER:
        break;
    case COM_CMD_INFO:
        *reinterpret_cast<ComDriverInfo*>(block->param) = ComDriverInfo{};
        break;
    case COM_CMD_STATUS:
        *reinterpret_cast<uint32_t*>(block->param) = 0;
        break;
    case COM_CMD_RX_COUNT:
    case COM_CMD_TX_PENDING:
        block->param = 0;
        break;
    case COM_CMD_SEND_BLOCK: {
        const ComSendBlock* send = reinterpret_cast<const ComSendBlock*>(block->param);
        if (send && send->data)
            printBlock(send);
        break;
    }
    default:
        result = 0;
        break;
    }
    lock.unlock();
    return result;
}
