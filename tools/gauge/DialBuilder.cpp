#include "gauge/DialBuilder.h"

CDialBuilder::CDialBuilder() {
    m_image.Create(gauge::kDialSide, gauge::kDialSide, 32, true);
}

bool CDialBuilder::Apply(long long runCount, const std::array<uint8_t, 4>& bgra,
                         std::string* error) {
    auto refuse = [error](const char* why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    if (IsComplete()) {
        return refuse("pixel beyond the dial");
    }
    if (runCount > 0 && !m_hasPrevious) {
        return refuse("run line before any pixel line");
    }
    if (m_next + runCount > kPixels) {
        return refuse("run goes beyond the dial");
    }
    const int afterRun = m_next + static_cast<int>(runCount);
    if (afterRun == kPixels) {
        // Only a run that reached the end may carry one position more, with its own pixel.
        if (runCount == 0) {
            return refuse("pixel beyond the dial");
        }
        if (bgra != m_previous) {
            return refuse("pixel past the end differs from the run");
        }
    }
    for (int p = m_next; p < afterRun; ++p) {
        Put(p, m_previous);
    }
    if (afterRun < kPixels) {
        Put(afterRun, bgra);
    }
    m_next = afterRun + 1;
    m_previous = bgra;
    m_hasPrevious = true;
    return true;
}

void CDialBuilder::Put(int position, const std::array<uint8_t, 4>& bgra) {
    uint8_t* out = m_image.PixelAt(position % gauge::kDialSide, position / gauge::kDialSide);
    for (int i = 0; i < 4; ++i) {
        out[i] = bgra[static_cast<size_t>(i)];
    }
}
