#pragma once

/*
 * The call interface of a measuring-device library, shared by the program's loader
 * (DeviceLibrary) and by the libraries themselves (plugins/device1). Plain C so a device
 * library can be written in any language that exports C functions; the program resolves the
 * exports by name, so the names below are the contract.
 *
 * Call order over one connection:
 *   OPEN -> GETHID -> (GETDATA polled every 100 ms, SETBEEP on events, or SETCOLOR/SETFQ
 *   during therapy) -> CLOSE
 *
 * A library must export all eleven functions; the program refuses a library lacking any.
 */

#if defined(_WIN32)
#define VANDREL_DEVICE_EXPORT __declspec(dllexport)
#else
#define VANDREL_DEVICE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Size of the buffer the program hands to GETHID; the identifier is zero-terminated in it. */
#define VANDREL_DEVICE_HID_SIZE 20
/* Size of the frame buffer the program hands to GETDATA. */
#define VANDREL_DEVICE_FRAME_SIZE 4

/* Connects to the device. Returns non-zero when the device is open. */
typedef unsigned char (*DeviceOpenFn)(void);
/* Writes the device identifier, zero-terminated, into a buffer of VANDREL_DEVICE_HID_SIZE
 * bytes. Never writes more than that. */
typedef void (*DeviceGetHidFn)(char *buffer);
/* Writes one frame of VANDREL_DEVICE_FRAME_SIZE bytes: byte 0 the frame kind (6 = reading),
 * bytes 1-2 the raw reading, big-endian. Returns zero when the device is lost. */
typedef unsigned char (*DeviceGetDataFn)(unsigned char *frame);
/* Sounds the device's beeper: (10, 10, 1) contact made, (10, 10, 2) point finished. */
typedef void (*DeviceSetBeepFn)(int a, int b, int signal);
/* Sets the therapy light: red, green, blue and the colour-rate position; all zero = off. */
typedef void (*DeviceSetColorFn)(unsigned char red, unsigned char green, unsigned char blue,
                                 unsigned char rate);
/* Sets the frequency output: power level and frequency in Hz; (0, 0) = off. */
typedef void (*DeviceSetFqFn)(int power, float hz);
/* Disconnects from the device. Harmless when it is not open. */
typedef void (*DeviceCloseFn)(void);

/* The four calls below are part of the contract but the program does not call them yet. */

/* Writes a zero-terminated, human-readable description of the library (name and version)
 * into `buffer` of `size` bytes, truncated to fit. Returns the length written without the
 * terminating zero, or -1 when `buffer` is null or `size` < 1. */
typedef int (*DeviceGetDllInfoFn)(char *buffer, int size);
/* Shows the library's own settings dialog, if it has one; returns when it is closed. */
typedef void (*DeviceShowSetupDialogFn)(void);
/* Sets a library-specific parameter. Returns non-zero when the library accepted it. */
typedef int (*DeviceSetParamFn)(int id, int value);
/* Reads a library-specific parameter; 0 for a parameter the library does not know. */
typedef int (*DeviceGetParamFn)(int id);

VANDREL_DEVICE_EXPORT unsigned char OPEN(void);
VANDREL_DEVICE_EXPORT void GETHID(char *buffer);
VANDREL_DEVICE_EXPORT unsigned char GETDATA(unsigned char *frame);
VANDREL_DEVICE_EXPORT void SETBEEP(int a, int b, int signal);
VANDREL_DEVICE_EXPORT void SETCOLOR(unsigned char red, unsigned char green, unsigned char blue,
                                    unsigned char rate);
VANDREL_DEVICE_EXPORT void SETFQ(int power, float hz);
VANDREL_DEVICE_EXPORT void CLOSE(void);
VANDREL_DEVICE_EXPORT int GETDLLINFO(char *buffer, int size);
VANDREL_DEVICE_EXPORT void SHOWSETUPDIALOG(void);
VANDREL_DEVICE_EXPORT int SETPARAM(int id, int value);
VANDREL_DEVICE_EXPORT int GETPARAM(int id);

#ifdef __cplusplus
}
#endif
