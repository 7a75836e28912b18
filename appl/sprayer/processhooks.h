#pragma once
// The process core's functions that the parameter store calls: the change
// hooks of the calibration, speed-source and pulse-ratio items and the counter
// set-up of the store's migration. Registered once, before platformInit starts
// the store.
void processRegisterStoreHooks();
