#include "serial/posix/LowLatencyMode.h"

#ifdef __linux__
#include <linux/serial.h>
#endif

namespace {

#ifdef ASYNC_LOW_LATENCY
constexpr int kLowLatency = ASYNC_LOW_LATENCY;
#else
constexpr int kLowLatency = 0;
#endif

}  // namespace

void CLowLatencyMode::Request(int fd) {
    int flags = 0;
    if (kLowLatency == 0 || m_flagsBefore || !m_driver.get || !m_driver.get(fd, flags))
        return;
    if ((flags & kLowLatency) != 0)
        return;
    if (m_driver.set && m_driver.set(fd, flags | kLowLatency))
        m_flagsBefore = flags;
}

void CLowLatencyMode::Restore(int fd) {
    if (!m_flagsBefore)
        return;
    m_driver.set(fd, *m_flagsBefore);
    m_flagsBefore.reset();
}
