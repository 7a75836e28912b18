#pragma once
// Registers the calibration pages' compiled-in pictures (":/images/..."): the
// wheel, the tanks and the USB transfers, and the arrows and the start and
// stop spraying icons that the machine and working pages share. The pages do
// it themselves on construction; the framework does it at start-up.
void calibrationScreensInitResources();
