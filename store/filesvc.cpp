#include "filesvc.h"

#include "cfilefunc.h"
#include "filedesc.h"
#include "filefunc.h"
#include "mempool.h"

#include <cstring>
#include <string>

namespace {

enum RequestId : uint16_t {
    REQ_DISK_SPACE = 0x1500, REQ_DISK_FREE = 0x1502, REQ_DISK_TOTAL = 0x1504,
    REQ_OPEN_WRITE = 0x1506, REQ_OPEN_READ = 0x1508, REQ_CLOSE = 0x150A, REQ_FLUSH = 0x150C,
    REQ_RENAME = 0x150E, REQ_CHANGE_SIZE = 0x1510, REQ_SIZE = 0x1512,
    REQ_READ_START = 0x1514, REQ_READ_BLOCK = 0x1516, REQ_READ_END = 0x1518,
    REQ_WRITE_START = 0x151A, REQ_WRITE_BLOCK = 0x151C, REQ_WRITE_FINISH = 0x151E,
    REQ_AT_END = 0x1520, REQ_DELETE = 0x1522, REQ_EXISTS = 0x1524, REQ_SEEK = 0x1526,
    REQ_SEEK_RELATIVE = 0x1528, REQ_POSITION = 0x1530,
    REQ_LINE_START = 0x1532, REQ_LINE_BLOCK = 0x1534, REQ_LINE_END = 0x1536,
    REQ_LINE_WRITE_START = 0x1538, REQ_LINE_WRITE_BLOCK = 0x153A, REQ_LINE_WRITE_FINISH = 0x153C,
    REQ_WRITE_BYTE = 0x153E, REQ_GET_CHAR = 0x1540, REQ_STEP_BACK = 0x1542,
    REQ_FIND_FIRST = 0x1544, REQ_FIND_NEXT = 0x1546, REQ_MAKE_PATH = 0x1548, REQ_COPY = 0x1550,
    REQ_SET_DRIVE = 0x1552, REQ_GET_DRIVE = 0x1554, REQ_CHANGE_DIR = 0x1556,
};

// Payload length rule of one request and the status it answers on failure.
struct RequestRule {
    uint16_t id;
    uint8_t minLength;
    uint8_t maxLength;
    uint8_t failStatus;
};

const RequestRule rules[] = {
    {REQ_DISK_SPACE, 1, 1, 1}, {REQ_DISK_FREE, 1, 1, 2}, {REQ_DISK_TOTAL, 1, 1, 3},
    {REQ_OPEN_WRITE, 2, 81, 4}, {REQ_OPEN_READ, 2, 81, 5}, {REQ_CLOSE, 4, 4, 6},
    {REQ_FLUSH, 4, 4, 7}, {REQ_RENAME, 4, 82, 8}, {REQ_CHANGE_SIZE, 8, 8, 9}, {REQ_SIZE, 4, 4, 10},
    {REQ_READ_START, 8, 8, 11}, {REQ_READ_BLOCK, 8, 8, 11}, {REQ_READ_END, 4, 4, 11},
    {REQ_WRITE_START, 12, 12, 12}, {REQ_WRITE_BLOCK, 10, 100, 12}, {REQ_WRITE_FINISH, 0, 0, 12},
    {REQ_AT_END, 4, 4, 0}, {REQ_DELETE, 2, 81, 13}, {REQ_EXISTS, 2, 81, 0}, {REQ_SEEK, 8, 8, 15},
    {REQ_SEEK_RELATIVE, 8, 8, 14}, {REQ_POSITION, 4, 4, 16},
    {REQ_LINE_START, 5, 5, 11}, {REQ_LINE_BLOCK, 8, 8, 11}, {REQ_LINE_END, 4, 4, 11},
    {REQ_LINE_WRITE_START, 12, 12, 12}, {REQ_LINE_WRITE_BLOCK, 10, 100, 12},
    {REQ_LINE_WRITE_FINISH, 0, 0, 12}, {REQ_WRITE_BYTE, 5, 5, 12}, {REQ_GET_CHAR, 4, 4, 11},
    {REQ_STEP_BACK, 4, 4, 11}, {REQ_FIND_FIRST, 2, 81, 17}, {REQ_FIND_NEXT, 0, 0, 18},
    {REQ_MAKE_PATH, 2, 81, 19}, {REQ_COPY, 4, 82, 20}, {REQ_SET_DRIVE, 1, 1, 21},
    {REQ_GET_DRIVE, 0, 0, 22}, {REQ_CHANGE_DIR, 2, 81, 23},
};

const RequestRule* findRule(uint16_t id)
{
    for (const RequestRule& rule : rules)
        if (rule.id == id)
            return &rule;
    return nullptr;
}

// A transfer out of the console: a file read by handle or one text line.
struct ReadTransfer {
    bool active = false;
    int32_t handle = -1;
    uint32_t size = 0;
    uint32_t blocks = 0;
    MemHandle line = 0;  // line transfers only
};

// A transfer into the console, collected in a pool buffer before it is written.
struct WriteTransfer {
    bool active = false;
    int32_t handle = -1;
    uint32_t blocks = 0;
    uint32_t nextBlock = 0;
    uint32_t filled = 0;
    bool complete = false;
    MemHandle buffer = 0;
};

ReadTransfer handleRead;
ReadTransfer lineRead;
WriteTransfer rawWrite;
WriteTransfer lineWrite;
CDirEntry dirEntry;

// Reads the payload of one request, refusing any field that is not all there.
class Payload {
public:
    Payload(const uint8_t* data, uint8_t length) : mData(data), mLength(length) {}

    bool u8(uint8_t& value)
    {
        if (mOffset + 1 > mLength)
            return false;
        value = mData[mOffset++];
        return true;
    }
    bool u32(uint32_t& value)
    {
        if (mOffset + 4 > mLength)
            return false;
        value = uint32_t(mData[mOffset]) | uint32_t(mData[mOffset + 1]) << 8 |
                uint32_t(mData[mOffset + 2]) << 16 | uint32_t(mData[mOffset + 3]) << 24;
        mOffset += 4;
        return true;
    }
    bool name(std::string& text)
    {
        uint8_t length = 0;
        if (!u8(length) || length > FILESVC_MAX_NAME || mOffset + length > mLength)
            return false;
        text.assign(reinterpret_cast<const char*>(mData + mOffset), length);
        mOffset += length;
        return true;
    }
    bool bytes(const uint8_t*& data, uint8_t length)
    {
        if (mOffset + length > mLength)
            return false;
        data = mData + mOffset;
        mOffset += length;
        return true;
    }

private:
    const uint8_t* mData;
    unsigned mLength;
    unsigned mOffset = 0;
};

class Response {
public:
    Response(FileSvcResponse& out, uint16_t id) : mOut(out)
    {
        std::memset(mOut.message, 0, sizeof mOut.message);
        const uint16_t answer = uint16_t(id + 1);
        mOut.message[0] = uint8_t(answer & 0xFF);
        mOut.message[1] = uint8_t(answer >> 8);
        mLength = FILESVC_RESULTS;
        finish();
    }
    void u8(uint8_t value) { put(&value, 1); }
    void u32(uint32_t value)
    {
        const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
        put(bytes, 4);
    }
    void put(const void* data, unsigned length)
    {
        if (mLength + length > sizeof mOut.message)
            return;
        std::memcpy(mOut.message + mLength, data, length);
        mLength += length;
        finish();
    }
    // A failure answers the status with zeroed results.
    void fail(uint8_t status)
    {
        std::memset(mOut.message + FILESVC_RESULTS, 0, sizeof mOut.message - FILESVC_RESULTS);
        mOut.message[3] = status;
        mLength = FILESVC_RESULTS;
        finish();
    }

private:
    void finish()
    {
        mOut.message[2] = uint8_t(mLength - 3);
        mOut.size = uint16_t(mLength);
    }
    FileSvcResponse& mOut;
    unsigned mLength;
};

void endRead(ReadTransfer& transfer)
{
    if (transfer.line)
        memFree(transfer.line);
    transfer = ReadTransfer{};
}

void endWrite(WriteTransfer& transfer)
{
    if (transfer.buffer)
        memFree(transfer.buffer);
    transfer = WriteTransfer{};
}

uint32_t blockCount(uint32_t size)
{
    return (size + FILESVC_BLOCK - 1) / FILESVC_BLOCK;
}

// Start, block and end of a transfer out of the console.
bool readStart(ReadTransfer& transfer, bool line, Payload& in, Response& out)
{
    uint32_t handle = 0;
    if (transfer.active || !in.u32(handle))
        return false;
    uint32_t size = 0;
    if (line) {
        uint8_t maxSize = 0;
        if (!in.u8(maxSize))
            return false;
        const MemHandle buffer = memCalloc(1, uint32_t(maxSize) + 1);
        char* text = static_cast<char*>(memHandleToPtr(buffer));
        if (!text)
            return false;
        if (!fileGetLineChars(int(handle), text, size_t(maxSize) + 1)) {
            memFree(buffer);
            return false;
        }
        size = uint32_t(std::strlen(text));
        transfer.line = buffer;
    } else {
        uint32_t maxSize = 0;
        if (!in.u32(maxSize) || !fileSize(int(handle), &size))
            return false;
        if (size > maxSize)
            size = maxSize;
    }
    transfer.active = true;
    transfer.handle = int32_t(handle);
    transfer.size = size;
    transfer.blocks = blockCount(size);
    out.u32(transfer.blocks);
    return true;
}

bool readBlock(ReadTransfer& transfer, bool line, Payload& in, Response& out)
{
    uint32_t handle = 0;
    uint32_t block = 0;
    if (!in.u32(handle) || !in.u32(block) || !transfer.active || int32_t(handle) != transfer.handle)
        return false;
    out.u32(block);
    if (block >= transfer.blocks) {
        out.u8(0);
        return true;
    }
    const uint32_t offset = block * FILESVC_BLOCK;
    const uint32_t length = block + 1 == transfer.blocks ? transfer.size - offset : FILESVC_BLOCK;
    uint8_t data[FILESVC_BLOCK];
    if (line) {
        std::memcpy(data, static_cast<const char*>(memHandleToPtr(transfer.line)) + offset, length);
    } else if (!fileSeek(transfer.handle, int32_t(offset)) || !fileRead(transfer.handle, data, length)) {
        return false;
    }
    out.u8(uint8_t(length));
    out.put(data, length);
    return true;
}

bool readEnd(ReadTransfer& transfer, Payload& in)
{
    uint32_t handle = 0;
    if (!in.u32(handle) || !transfer.active || int32_t(handle) != transfer.handle)
        return false;
    endRead(transfer);
    return true;
}

// Start, block and finish of a transfer into the console.
bool writeStart(WriteTransfer& transfer, Payload& in)
{
    uint32_t handle = 0;
    uint32_t blocks = 0;
    uint32_t spare = 0;
    if (transfer.active || !in.u32(handle) || !in.u32(blocks) || !in.u32(spare) || blocks == 0 ||
        blocks > 0xFFFFFFFFu / FILESVC_BLOCK)
        return false;
    const MemHandle buffer = memCalloc(blocks, FILESVC_BLOCK);
    if (!buffer)
        return false;
    transfer = WriteTransfer{};
    transfer.active = true;
    transfer.handle = int32_t(handle);
    transfer.blocks = blocks;
    transfer.buffer = buffer;
    return true;
}

bool writeBlock(WriteTransfer& transfer, Payload& in, Response& out)
{
    uint32_t handle = 0;
    uint32_t block = 0;
    uint8_t length = 0;
    const uint8_t* data = nullptr;
    if (!in.u32(handle) || !in.u32(block) || !in.u8(length) || length > FILESVC_BLOCK ||
        !in.bytes(data, length))
        return false;
    if (!transfer.active || int32_t(handle) != transfer.handle || transfer.complete ||
        block != transfer.nextBlock || transfer.filled + length > transfer.blocks * FILESVC_BLOCK)
        return false;
    std::memcpy(static_cast<uint8_t*>(memHandleToPtr(transfer.buffer)) + transfer.filled, data, length);
    transfer.filled += length;
    transfer.complete = block + 1 == transfer.blocks;
    transfer.nextBlock = block + 1;
    out.u32(transfer.nextBlock);
    out.u8(transfer.complete ? 1 : 0);
    return true;
}

bool writeFinish(WriteTransfer& transfer, bool line)
{
    if (!transfer.active || !transfer.complete)
        return false;
    const char* data = static_cast<const char*>(memHandleToPtr(transfer.buffer));
    const bool written = line ? fileWriteLine(transfer.handle, std::string(data, transfer.filled))
                              : fileWrite(transfer.handle, data, transfer.filled);
    endWrite(transfer);
    return written;
}

void answerEntry(Response& out)
{
    const uint8_t length = uint8_t(std::strlen(dirEntry.name));
    out.u8(dirEntry.attributes);
    out.u32(dirEntry.size);
    out.u8(length);
    out.put(dirEntry.name, length);
}

bool execute(uint16_t id, Payload& in, Response& out)
{
    uint32_t handle = 0;
    uint32_t value = 0;
    uint8_t byte = 0;
    std::string first;
    std::string second;
    switch (id) {
    case REQ_DISK_SPACE: {
        uint32_t freeBytes = 0;
        uint32_t totalBytes = 0;
        if (!in.u8(byte) || !diskSpace(char(byte), &freeBytes, &totalBytes))
            return false;
        out.u32(freeBytes);
        out.u32(totalBytes);
        return true;
    }
    case REQ_DISK_FREE:
    case REQ_DISK_TOTAL: {
        if (!in.u8(byte))
            return false;
        const uint64_t bytes = id == REQ_DISK_FREE ? diskFreeBytes(char(byte)) : diskTotalBytes(char(byte));
        if (bytes == kUnknownBytes)
            return false;
        out.u32(bytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(bytes));
        return true;
    }
    case REQ_OPEN_WRITE:
    case REQ_OPEN_READ: {
        if (!in.name(first))
            return false;
        const int fd = id == REQ_OPEN_WRITE ? fileOpenWrite(first.c_str()) : fileOpenRead(first.c_str());
        if (fd < 0)
            return false;
        out.u32(uint32_t(fd));
        return true;
    }
    case REQ_CLOSE:
        return in.u32(handle) && fileClose(int(handle));
    case REQ_FLUSH:
        return in.u32(handle) && fileFlush(int(handle));
    case REQ_RENAME:
        return in.name(first) && in.name(second) && fileRename(first, second);
    case REQ_CHANGE_SIZE:
        return in.u32(handle) && in.u32(value) && value <= 0x7FFFFFFFu && fileChangeSize(int(handle), int32_t(value));
    case REQ_SIZE:
        if (!in.u32(handle) || !fileSize(int(handle), &value))
            return false;
        out.u32(value);
        return true;
    case REQ_READ_START:
        return readStart(handleRead, false, in, out);
    case REQ_READ_BLOCK:
        return readBlock(handleRead, false, in, out);
    case REQ_READ_END:
        return readEnd(handleRead, in);
    case REQ_WRITE_START:
        return writeStart(rawWrite, in);
    case REQ_WRITE_BLOCK:
        return writeBlock(rawWrite, in, out);
    case REQ_WRITE_FINISH:
        return writeFinish(rawWrite, false);
    case REQ_AT_END:
        if (!in.u32(handle))
            return false;
        out.u8(fileAtEnd(int(handle)) ? 1 : 0);
        return true;
    case REQ_DELETE:
        return in.name(first) && fileDelete(first);
    case REQ_EXISTS:
        if (!in.name(first))
            return false;
        out.u8(fileExists(first.c_str()) ? 1 : 0);
        return true;
    case REQ_SEEK:
        return in.u32(handle) && in.u32(value) && fileSeek(int(handle), int32_t(value));
    case REQ_SEEK_RELATIVE:
        return in.u32(handle) && in.u32(value) && fileSeekRelative(int(handle), int32_t(value));
    case REQ_POSITION: {
        if (!in.u32(handle))
            return false;
        const int64_t position = filePosition(int(handle));
        if (position < 0 || position > 0xFFFFFFFF)
            return false;
        out.u32(uint32_t(position));
        return true;
    }
    case REQ_LINE_START:
        return readStart(lineRead, true, in, out);
    case REQ_LINE_BLOCK:
        return readBlock(lineRead, true, in, out);
    case REQ_LINE_END:
        return readEnd(lineRead, in);
    case REQ_LINE_WRITE_START:
        return writeStart(lineWrite, in);
    case REQ_LINE_WRITE_BLOCK:
        return writeBlock(lineWrite, in, out);
    case REQ_LINE_WRITE_FINISH:
        return writeFinish(lineWrite, true);
    case REQ_WRITE_BYTE:
        return in.u32(handle) && in.u8(byte) && fileWriteByte(int(handle), byte);
    case REQ_GET_CHAR: {
        char c = 0;
        if (!in.u32(handle) || !fileGetCharDefault(int(handle), &c))
            return false;
        out.u8(uint8_t(c));
        return true;
    }
    case REQ_STEP_BACK:
        return in.u32(handle) && fileStepBack(int(handle));
    case REQ_FIND_FIRST:
        if (!in.name(first) || !dirFindFirst(&dirEntry, first.c_str()))
            return false;
        answerEntry(out);
        return true;
    case REQ_FIND_NEXT:
        if (!dirFindNext(&dirEntry))
            return false;
        answerEntry(out);
        return true;
    case REQ_MAKE_PATH:
        return in.name(first) && makePathC(first.c_str());
    case REQ_COPY:
        return in.name(first) && in.name(second) && fileCopy(second, first);
    case REQ_SET_DRIVE:
        return in.u8(byte) && fileSetDrive(byte);
    case REQ_GET_DRIVE:
        if (!fileGetDrive(&byte))
            return false;
        out.u8(byte);
        return true;
    case REQ_CHANGE_DIR:
        return in.name(first) && changeDir(first.c_str());
    }
    return false;
}

}  // namespace

uint32_t fileSvcRequest(uint32_t mode, uint16_t id, uint8_t payloadLength, const uint8_t* request,
                        FileSvcResponse* response)
{
    const RequestRule* rule = findRule(id);
    switch (mode) {
    case FILESVC_IS_BASIC:
        return (id >= REQ_DISK_SPACE && id <= REQ_DELETE && rule) || id == REQ_CHANGE_DIR;
    case FILESVC_CHECK_LENGTH: {
        const bool valid = rule && payloadLength >= rule->minLength && payloadLength <= rule->maxLength;
        if (response)
            response->verdict = valid ? FILESVC_VALID : (rule ? FILESVC_INVALID : FILESVC_UNKNOWN);
        return valid;
    }
    case FILESVC_EXECUTE: {
        if (!response)
            return 0;
        if (!rule) {
            response->verdict = FILESVC_UNKNOWN;
            response->size = 0;
            return 0;
        }
        response->verdict = FILESVC_VALID;
        Response out(*response, id);
        if (payloadLength < rule->minLength || payloadLength > rule->maxLength || (payloadLength && !request)) {
            response->verdict = FILESVC_INVALID;
            out.fail(rule->failStatus);
            return 0;
        }
        Payload in(request ? request + FILESVC_PAYLOAD : nullptr, payloadLength);
        if (!execute(id, in, out))
            out.fail(rule->failStatus);
        return 1;
    }
    }
    return 0;
}

void fileSvcReset()
{
    endRead(handleRead);
    endRead(lineRead);
    endWrite(rawWrite);
    endWrite(lineWrite);
}
