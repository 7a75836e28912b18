#pragma once
// Registers the working screen's built-in pictures (the library is static).
// The widgets that draw them call it themselves; guiInitResources() does too.
void workingScreensInitResources();
