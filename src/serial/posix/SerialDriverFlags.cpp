#include "serial/posix/SerialDriverFlags.h"

#include <sys/ioctl.h>

#ifdef __linux__
#include <linux/serial.h>
#endif

namespace {

#ifdef TIOCGSERIAL
bool GetFlags(int fd, int& flags) {
    serial_struct info{};
    if (ioctl(fd, TIOCGSERIAL, &info) != 0)
        return false;
    flags = info.flags;
    return true;
}

// The driver takes the whole structure back, so the rest of it is read fresh first.
bool SetFlags(int fd, int flags) {
    serial_struct info{};
    if (ioctl(fd, TIOCGSERIAL, &info) != 0)
        return false;
    info.flags = flags;
    return ioctl(fd, TIOCSSERIAL, &info) == 0;
}
#else
bool GetFlags(int, int&) {
    return false;
}
bool SetFlags(int, int) {
    return false;
}
#endif

}  // namespace

SSerialDriverFlags RealSerialDriverFlags() {
    return {GetFlags, SetFlags};
}
