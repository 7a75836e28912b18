#pragma once
// Registers the pictures the diagnostics pages show: their own and those of
// the machine and data pages they share. The pages do it themselves on
// construction; the framework does it at start-up.
void diagnosticsScreensInitResources();
