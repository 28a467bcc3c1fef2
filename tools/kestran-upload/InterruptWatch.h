#pragma once

#include <atomic>
#include <memory>

// Turns Ctrl-C and the requests to end (SIGINT, SIGTERM, SIGHUP; the console's close and
// break events on Windows) into a request to stop that the uploader asks for between its
// steps, so that an upload ends in order: the gauge is told, the port given back.
// Make it before any other thread starts, so that every thread leaves the signals to it.
class CInterruptWatch {
public:
    CInterruptWatch();
    ~CInterruptWatch();
    CInterruptWatch(const CInterruptWatch&) = delete;
    CInterruptWatch& operator=(const CInterruptWatch&) = delete;

    // The number of the first signal that came, 0 while none has.
    int Pending() const { return m_signal.load(); }

private:
    struct SPlatform;
    std::atomic<int> m_signal{0};
    std::unique_ptr<SPlatform> m_platform;
};
