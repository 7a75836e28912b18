#pragma once
// In-memory com driver for tests: bytes fed by the test are what the port
// receives; every block written is kept; every configuration is recorded.
// Driver argument = one of four independent ports. Keeps its own buffers.
#include "comport.h"

#include <string>
#include <vector>

uint32_t memcomDriver(ComDriverCommand* block, uint32_t argument);
// Empties every port and clears the recorded traffic and settings.
void memcomReset();
// Queues bytes to be received on the port.
void memcomFeed(uint32_t argument, const std::string& bytes);
// Everything written to the port so far, and clears it.
std::string memcomTakeOutput(uint32_t argument);
// Each block written, in order (not cleared by memcomTakeOutput).
std::vector<std::string> memcomBlocks(uint32_t argument);
std::vector<ComPortConfig> memcomConfigs(uint32_t argument);
size_t memcomWaiting(uint32_t argument);
// Makes the port refuse writes and report `pending` bytes not yet sent.
void memcomSetRefuse(uint32_t argument, bool refuse, uint16_t pending);
