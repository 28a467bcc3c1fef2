#pragma once

#include <chrono>
#include <string>

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

// A bar of `width` characters, '#' for the part done and '-' for the rest.
inline std::string ProgressBar(int percent, int width) {
    const int filled = percent * width / 100;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(width - filled), '-');
    return bar;
}
