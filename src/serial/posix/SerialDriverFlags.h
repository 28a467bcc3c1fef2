#pragma once

#include <functional>

// The flags word a serial driver keeps for its port (TIOCGSERIAL / TIOCSSERIAL), reached
// through two calls that a test can stand in for.
struct SSerialDriverFlags {
    // Reads the port's flags; false where the driver offers none (pseudo-terminals).
    std::function<bool(int fd, int& flags)> get;
    // Sets the flags, keeping the driver's other settings as they are; false when refused.
    std::function<bool(int fd, int flags)> set;
};

// The calls as the kernel answers them.
SSerialDriverFlags RealSerialDriverFlags();
