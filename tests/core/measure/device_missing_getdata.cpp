// A device library with every export but GETDATA: the loader must refuse it.
#include "measure/DeviceAbi.h"

extern "C" {
VANDREL_DEVICE_EXPORT unsigned char OPEN(void) {
    return 1;
}
VANDREL_DEVICE_EXPORT void GETHID(char *buffer) {
    if (buffer)
        buffer[0] = '\0';
}
VANDREL_DEVICE_EXPORT void SETBEEP(int, int, int) {}
VANDREL_DEVICE_EXPORT void SETCOLOR(unsigned char, unsigned char, unsigned char, unsigned char) {}
VANDREL_DEVICE_EXPORT void SETFQ(int, float) {}
VANDREL_DEVICE_EXPORT void CLOSE(void) {}
VANDREL_DEVICE_EXPORT int GETDLLINFO(char *, int) {
    return -1;
}
VANDREL_DEVICE_EXPORT void SHOWSETUPDIALOG(void) {}
VANDREL_DEVICE_EXPORT int SETPARAM(int, int) {
    return 0;
}
VANDREL_DEVICE_EXPORT int GETPARAM(int) {
    return 0;
}
}
