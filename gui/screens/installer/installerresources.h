#pragma once
// Registers the installer pages' compiled-in pictures (":/images/..."). The
// pages do it themselves on construction; the framework does it at start-up.
void installerScreensInitResources();
