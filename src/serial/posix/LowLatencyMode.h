#pragma once

#include <optional>
#include <utility>

#include "serial/posix/SerialDriverFlags.h"

// USB serial adapters hold short replies back until their latency timer runs out (16 ms on
// FTDI chips), which adds up over an upload of thousands of acknowledged lines. Drivers
// that offer a low-latency mode pass every byte on at once; the mode outlives the
// descriptor, so it is given back as found.
class CLowLatencyMode {
public:
    explicit CLowLatencyMode(SSerialDriverFlags driver) : m_driver(std::move(driver)) {}

    // Asks the driver of the open port `fd` for low latency; nothing where it has no such
    // mode or has it on already.
    void Request(int fd);
    // Puts back the flags found by Request, if Request changed them.
    void Restore(int fd);

private:
    SSerialDriverFlags m_driver;
    std::optional<int> m_flagsBefore;  // set while the mode is ours to give back
};
