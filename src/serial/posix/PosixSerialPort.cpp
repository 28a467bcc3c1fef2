#include "serial/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

#include "serial/posix/DeviceGroup.h"
#include "serial/posix/LineSettings.h"
#include "serial/posix/OpenFailureText.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxEmptyWakeUps = 1000;

// A write of n bytes gives up after this long, like a Windows port with a write time-out
// of 10 ms per byte plus 50 ms.
std::chrono::milliseconds WriteTimeout(uint32_t n) {
    return std::chrono::milliseconds(50 + 10 * static_cast<int64_t>(n));
}

}  // namespace

CPosixSerialPort::CPosixSerialPort(SSerialDriverFlags driver) : m_lowLatency(std::move(driver)) {}

CPosixSerialPort::~CPosixSerialPort() {
    Close();
}

bool CPosixSerialPort::Fail(int error, const std::string& devicePath,
                            const std::optional<SPortHolder>& holder) {
    m_failure =
        OpenFailureText(error, error == EACCES ? GroupToJoin(devicePath) : std::string(), holder);
    return false;
}

bool CPosixSerialPort::Open(const std::string& devicePath) {
    if (m_fd.IsOpen())
        return false;
    m_failure.clear();
    // A program that neither sets the exclusive flag nor locks would share the line
    // unnoticed; looking first leaves its line untouched.
    if (std::optional<SPortHolder> holder = FindOtherHolderOf(devicePath))
        return Fail(EBUSY, devicePath, holder);
    CUniqueFd fd;
    do {
        fd.Reset(::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    } while (!fd.IsOpen() && errno == EINTR);
    if (!fd.IsOpen())
        return Fail(errno, devicePath, std::nullopt);

    // The lock keeps out a second copy of this program even when it runs as root, which the
    // terminal's exclusive flag does not stop.
    if (!isatty(fd.Get()) || flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 ||
        ioctl(fd.Get(), TIOCEXCL) != 0) {
        return Fail(errno == EWOULDBLOCK ? EBUSY : errno, devicePath, std::nullopt);
    }
    SPipe wake;
    if (!OpenPipe(wake, O_NONBLOCK)) {
        const int error = errno;
        ioctl(fd.Get(), TIOCNXCL);
        return Fail(error, devicePath, std::nullopt);
    }
    m_fd = std::move(fd);
    m_wake = std::move(wake);
    return true;
}

std::string CPosixSerialPort::FailureReason() const {
    return m_failure;
}

void CPosixSerialPort::DiscardInput() {
    if (m_fd.IsOpen())
        tcflush(m_fd.Get(), TCIFLUSH);
}

void CPosixSerialPort::ApplyLineSettings() {
    if (!m_fd.IsOpen())
        return;
    linesettings::Apply(m_fd.Get());
    m_lowLatency.Request(m_fd.Get());
}

uint32_t CPosixSerialPort::Write(const void* data, uint32_t n) {
    if (!m_fd.IsOpen())
        return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const Clock::time_point deadline = Clock::now() + WriteTimeout(n);
    uint32_t written = 0;
    while (written < n) {
        const ssize_t result = ::write(m_fd.Get(), bytes + written, n - written);
        if (result > 0) {
            written += static_cast<uint32_t>(result);
            continue;
        }
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            break;  // hang-up, device gone

        // The output queue is full: wait for room until the time-out.
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd room{m_fd.Get(), POLLOUT, 0};
        const int ready = poll(&room, 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR)
            break;
        if (ready > 0 && (room.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
            break;
    }
    return written;
}

int CPosixSerialPort::BytesWaiting() {
    if (!m_fd.IsOpen())
        return 0;
    int waiting = 0;
    if (ioctl(m_fd.Get(), FIONREAD, &waiting) != 0)
        return 0;
    return waiting;
}

int CPosixSerialPort::Read(void* buffer, int max) {
    if (!m_fd.IsOpen() || max < 0)
        return -1;
    for (;;) {
        const ssize_t result = ::read(m_fd.Get(), buffer, static_cast<size_t>(max));
        if (result >= 0)
            return static_cast<int>(result);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}

ISerialPort::WaitResult CPosixSerialPort::WaitForInput() {
    if (!m_fd.IsOpen())
        return WaitResult::Failed;
    // A wake-up with nothing to tell happens when the other thread read the bytes between
    // poll and the count; a line that keeps waking so is broken.
    for (int emptyWakeUps = 0; emptyWakeUps < kMaxEmptyWakeUps;) {
        pollfd fds[2] = {{m_fd.Get(), POLLIN, 0}, {m_wake.read.Get(), POLLIN, 0}};
        const int ready = poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return WaitResult::Failed;
        }
        // The wake-up byte is never drained: once cancelled, every wait ends at once.
        if ((fds[1].revents & POLLIN) != 0)
            return WaitResult::Cancelled;
        const short events = fds[0].revents;
        // Bytes that arrived before a hang-up are still announced, so they can be read.
        if ((events & POLLIN) != 0 && BytesWaiting() > 0)
            return WaitResult::Input;
        // A hung-up terminal reports POLLHUP (and reads end of file or EIO).
        if ((events & (POLLHUP | POLLERR | POLLNVAL)) != 0)
            return WaitResult::Failed;
        if ((fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
            return WaitResult::Failed;
        ++emptyWakeUps;
    }
    return WaitResult::Failed;
}

void CPosixSerialPort::CancelWait() {
    if (!m_wake.write.IsOpen())
        return;
    const char wake = 1;
    // A full pipe is as good as a written byte: the wait ends either way.
    while (::write(m_wake.write.Get(), &wake, 1) < 0 && errno == EINTR) {
    }
}

void CPosixSerialPort::Close() {
    if (m_fd.IsOpen()) {
        m_lowLatency.Restore(m_fd.Get());
        // The exclusive flag can outlive this descriptor (a pseudo-terminal keeps it while
        // its other end is open), so it is cleared before the port goes back.
        ioctl(m_fd.Get(), TIOCNXCL);
    }
    m_fd.Reset();
    m_wake.read.Reset();
    m_wake.write.Reset();
}
