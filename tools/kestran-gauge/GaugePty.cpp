#include "GaugePty.h"

#include <fcntl.h>
#include <pty.h>
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
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        m_error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return;
    }
    char path[256];
    if (ttyname_r(slave, path, sizeof path) != 0 || !AddFlags(master, FD_CLOEXEC, O_NONBLOCK) ||
        !AddFlags(slave, FD_CLOEXEC, 0)) {
        m_error = std::string("cannot set up the pseudo-terminal: ") + std::strerror(errno);
        close(master);
        close(slave);
        return;
    }
    // Raw from the start, so that a program that does not set the line up itself still
    // gets the bytes unchanged in both directions.
    termios settings{};
    if (tcgetattr(slave, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetispeed(&settings, B38400);
        cfsetospeed(&settings, B38400);
        tcsetattr(slave, TCSANOW, &settings);
    }
    m_master = master;
    m_slave = slave;
    m_slavePath = path;
}

CGaugePty::~CGaugePty() {
    HangUp();
}

void CGaugePty::HangUp() {
    if (m_master >= 0)
        close(m_master);
    if (m_slave >= 0)
        close(m_slave);
    m_master = -1;
    m_slave = -1;
}
