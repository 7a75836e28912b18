#pragma once
// Two letter sequences typed on the debug console after "a":
//   "dmask" + selector: the debug category mask. Selectors: '0' clears it;
//     '1', '2', '3' add 0x0001, 0x0008, 0x0010; 'x' sets 0x8000; "all" sets
//     0xFFFF; "loop" adds 0x0002 (the main-loop statistics).
//   "amode" + 'M' or 'm': alarms in manual mode on or off.
#include <cstdint>

// 0 while a sequence starts or goes on; 1 when it ended or the character
// belongs to no sequence (the console then treats it as usual).
uint32_t processDebugKeyHandler(uint32_t ch);
