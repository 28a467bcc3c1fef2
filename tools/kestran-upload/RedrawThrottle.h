#pragma once

#include <chrono>

// A terminal redrawn on every progress step would spend the upload's time on the screen:
// a redraw is due once the interval has passed since the last one, or when forced.
class CRedrawThrottle {
public:
    explicit CRedrawThrottle(std::chrono::milliseconds interval) : m_interval(interval) {}

    bool Due(bool force) {
        const auto now = std::chrono::steady_clock::now();
        if (!force && now - m_last < m_interval)
            return false;
        m_last = now;
        return true;
    }

private:
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_last{};
};
