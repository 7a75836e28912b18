#pragma once
// Named access to the board's discrete lines through the sysfs GPIO value files
// (/sys/class/gpio/gpio<N>/value). The lines are exported and configured by the
// operating system; this driver only opens, reads and writes their value files.
// A watch thread reports the changes of the ignition, power-button, implement
// status and auto-update lines to the handlers registered for them.
#include <cstdint>

// Watch handler, called on the watch thread with the line's new level.
typedef void (*GpioWatchHandler)(uint8_t value);

// Mask bits of the lines that gpioDrvInit opens.
enum : uint32_t {
    GPIO_MASK_BRIDGE_ENABLE = 0x1,
    GPIO_MASK_BUZZER_LOW = 0x2,
    GPIO_MASK_BUZZER_HIGH = 0x4,
    GPIO_MASK_USB1_5VFB = 0x8,
    GPIO_MASK_USB1_STATUS = 0x10,
    GPIO_MASK_USB1_EN = 0x20,
    GPIO_MASK_USB2_5VFB = 0x40,
    GPIO_MASK_USB2_STATUS = 0x80,
    GPIO_MASK_AUTO_UPDATE = 0x400,
    GPIO_MASK_POWER_RELAY = 0x800,
    GPIO_MASK_POWER_BUTTON = 0x1000,
    GPIO_MASK_BACKLIGHT = 0x4000,
    GPIO_MASK_IGNITION = 0x8000,
    GPIO_MASK_IMPLEMENT_STATUS = 0x10000,
    GPIO_MASK_GPIO55_IN = 0x20000,
    GPIO_MASK_GPIO106 = 0x40000,
    GPIO_MASK_GPIO102 = 0x80000,
    GPIO_MASK_GPIO55_OUT = 0x100000,
    GPIO_MASK_GPIO64 = 0x200000,
    GPIO_MASK_GPIO136 = 0x400000,
    GPIO_MASK_GPIO105 = 0x800000,
};

// Opens the lines of the mask once per program (later calls do nothing) and
// starts the watch thread. A missing line ends the program, except the
// implement status line.
void gpioDrvInit(uint32_t mask);
// The mask of lines actually opened.
uint32_t gpioDrvOpenedMask();

// Outputs; inverted lines write 1 for level 0 and 0 for any other level.
void gpioDrvBridgeEnable(uint32_t level);
void gpioDrvBuzzerLow(uint32_t level);
void gpioDrvBuzzerHigh(uint32_t level);
void gpioDrvUSB1_EN(uint32_t level);
void gpioDrvPowerRelay(uint32_t level);
void gpioDrvBacklightOn(uint32_t level);
void gpioDrvSetGPIO106(uint32_t level);
void gpioDrvSetGPIO55(uint32_t level);
void gpioDrvSetGPIO64(uint32_t level);
void gpioDrvSetGPIO136(uint32_t level);
// Opens, writes and closes line 102 on every call.
void gpioDrvSetGPIO102(uint32_t level);

// Inputs: the value file's number, 0 when nothing could be read.
int gpioDrvReadUSB1_5VFB();
int gpioDrvReadUSB1_status();
int gpioDrvReadUSB2_5VFB();
int gpioDrvReadUSB2_status();
int gpioDrvReadAuto_update();
int gpioDrvReadPowerButtonSense();
int gpioDrvReadIgnitionSense();
int gpioDrvReadImplementStatus();
int gpioDrvReadGPIO55();
int gpioDrvReadGPIO105();

void gpioDrvSetIgnitionCallback(GpioWatchHandler handler);
void gpioDrvSetPowerButtonCallback(GpioWatchHandler handler);
void gpioDrvSetAutoUpdateCallback(GpioWatchHandler handler);
void gpioDrvSetImplementStatusCallback(GpioWatchHandler handler);

// Flag 0 shuts the system down; any other flag does nothing.
void gpioDrvPowerOff(uint32_t flag);

// Any line by number, opened for each call.
bool gpioDrvGetGPIOGeneric(uint32_t line);
void gpioDrvSetGPIOGeneric(uint32_t line, uint32_t level);
void gpioDrvToggleGPIOGeneric(uint32_t line);
