#pragma once
// CAN commands of the bench: 0x0900 (channel selector u8, bit-rate index u8)
// sends a test frame and makes the answer task answer every frame the channel
// receives; 0x0901 (channel u8) stops the answers. Channels are those the start-up
// initialised: a selector naming a channel the platform lacks is refused.
#include "seriallink.h"

#include <cstdint>

// The number of CAN channels initialised by the start-up.
void benchCanSetChannelCount(uint32_t count);
int benchHandleCan(BenchRequest request, BenchReply* reply);
// The answer task of one channel, started at the first 0x0900 for it: one
// answer frame (id 0, extended, 00..07) per frame received while the channel's
// answer flag is set; frames received while it is clear are dropped.
void sercanTask(uint32_t channel);
