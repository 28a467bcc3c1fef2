#pragma once

#include <optional>
#include <string>

// How long a USB serial adapter holds short replies back before it passes them on (its
// latency timer), as the system tells it for one port. Every acknowledgement of an upload
// waits for it, so a timer left at its default (16 ms on FTDI chips) makes an upload of
// thousands of lines minutes longer.
struct SAdapterLatency {
    int milliseconds = 0;
    std::string howToSet;  // what the user does to set the timer to 1 ms on this system
};

// The latency timer of the adapter behind `devicePath` (a port name or path); nothing for a
// port whose system keeps no such timer, or where it cannot be read. Only reads.
std::optional<SAdapterLatency> ReadAdapterLatency(const std::string& devicePath);
