#pragma once
// File-service requests: the file functions exposed to a remote peer as numbered
// request and response messages (ids 0x1500..0x1556, even; the response carries
// the id plus 1). Self-contained: no link of the console carries these messages.
#include <cstdint>

enum FileSvcMode : uint32_t {
    FILESVC_IS_BASIC = 0,      // is the id one of the basic set?
    FILESVC_CHECK_LENGTH = 1,  // does the payload length fit the request?
    FILESVC_EXECUTE = 2,       // run the request and fill the response
};

enum FileSvcVerdict : uint8_t { FILESVC_VALID = 0, FILESVC_INVALID = 1, FILESVC_UNKNOWN = 2 };

// Offset of the payload in a request message and of the results in a response.
constexpr unsigned FILESVC_PAYLOAD = 3;
constexpr unsigned FILESVC_RESULTS = 4;
constexpr unsigned FILESVC_BLOCK = 100;
constexpr unsigned FILESVC_MAX_NAME = 80;

struct FileSvcResponse {
    uint8_t message[FILESVC_RESULTS + 8 + FILESVC_BLOCK];  // id low, id high, length, status, results
    uint16_t size;                                          // whole message: length + 3
    FileSvcVerdict verdict;
};

// request points at the whole message; its payload starts at FILESVC_PAYLOAD and
// holds payloadLength bytes. Returns 1 for "yes"/valid/executed, 0 otherwise.
uint32_t fileSvcRequest(uint32_t mode, uint16_t id, uint8_t payloadLength, const uint8_t* request,
                        FileSvcResponse* response);

// Drops every transfer and frees its buffers.
void fileSvcReset();
