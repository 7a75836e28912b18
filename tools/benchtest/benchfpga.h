#pragma once
// FPGA register commands of the bench: 0x2300 write (bank u8, offset u16,
// value u32; reply 0x2301 bank, offset, result) and 0x2302 read (bank u8, offset
// u16; reply 0x2303 bank, offset, value u32, result). Only the registers of the
// outputs and inputs are reachable: bank 1 up to 0x54, bank 2 up to 0x124, bank
// 3 up to 0x24, bank 4 up to 4; any other address gives result 0 and no access.
// The first call maps the extender and clears its outputs.
#include "seriallink.h"

int benchHandleFpga(BenchRequest request, BenchReply* reply);
