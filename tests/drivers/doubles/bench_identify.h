#pragma once
// A responder handler for the framed link's tests: command 0x0000 with a
// payload of one byte, answered by the reply frame 0x0001 A0 0F, as the
// production-test program identifies itself.
#include "seriallink.h"

int benchTestIdentify(BenchRequest request, BenchReply* reply);
// How often the command was executed since the program started.
int benchTestIdentifyCalls();
