#pragma once
// Pressure-log report: the pressure log as a PDF page on the USB stick.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// true when the PDF was written.
bool pressureLogSavePdf();
