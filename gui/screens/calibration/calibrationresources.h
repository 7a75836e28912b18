#pragma once
// Registers the calibration pages' compiled-in pictures (":/images/..."): the
// wheel, and the start and stop spraying icons that the machine pages share.
// The pages do it themselves on construction; the framework does it at start-up.
void calibrationScreensInitResources();
