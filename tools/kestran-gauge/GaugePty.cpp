#include "kestran-gauge/GaugePty.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool AddFlags(int fd, int descriptorFlags, int statusFlags) {
    return fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | descriptorFlags) == 0 &&
           fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | statusFlags) == 0;
}

}  // namespace

CGaugePty::CGaugePty() {
    int masterFd = -1;
    int slaveFd = -1;
    if (openpty(&masterFd, &slaveFd, nullptr, nullptr, nullptr) != 0) {
        m_error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return;
    }
    CUniqueFd master(masterFd);
    CUniqueFd slave(slaveFd);
    char path[256];
    if (ttyname_r(slaveFd, path, sizeof path) != 0 || !AddFlags(masterFd, FD_CLOEXEC, O_NONBLOCK) ||
        !AddFlags(slaveFd, FD_CLOEXEC, 0)) {
        m_error = std::string("cannot set up the pseudo-terminal: ") + std::strerror(errno);
        return;
    }
    // Raw from the start, so that a program that does not set the line up itself still
    // gets the bytes unchanged in both directions.
    termios settings{};
    if (tcgetattr(slaveFd, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetispeed(&settings, B38400);
        cfsetospeed(&settings, B38400);
        tcsetattr(slaveFd, TCSANOW, &settings);
    }
    // The slave's own descriptor is open already: only other programs are seen.
    m_watch.Reset(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (m_watch.IsOpen() && inotify_add_watch(m_watch.Get(), path, IN_OPEN | IN_CLOSE) < 0)
        m_watch.Reset();
    m_master = std::move(master);
    m_slave = std::move(slave);
    m_slavePath = path;
}

CGaugePty::~CGaugePty() {
    HangUp();
}

void CGaugePty::HangUp() {
    for (CUniqueFd* fd : {&m_master, &m_slave, &m_watch})
        fd->Reset();
}

std::vector<CGaugePty::EPortEvent> CGaugePty::TakePortEvents() {
    std::vector<EPortEvent> events;
    if (!m_watch.IsOpen())
        return events;
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while ((n = read(m_watch.Get(), buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            if ((event.mask & IN_OPEN) != 0)
                events.push_back(EPortEvent::Opened);
            if ((event.mask & IN_CLOSE) != 0)
                events.push_back(EPortEvent::Closed);
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    return events;
}

void CGaugePty::DropUnreadInput() {
    if (m_slave.IsOpen())
        tcflush(m_slave.Get(), TCIFLUSH);
}
