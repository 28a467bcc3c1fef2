#include "serial/posix/LineSettings.h"

#include <cerrno>

namespace linesettings {

namespace {

bool SetNow(int fd, const termios& settings) {
    int result;
    do {
        result = tcsetattr(fd, TCSANOW, &settings);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

}  // namespace

termios RawAt38400(const termios& found) {
    termios t = found;
    // Input: no break or CR/LF handling, no stripping to 7 bits, no marking of bad bytes.
    // IXON/IXOFF/IXANY (flow control) and INPCK/IGNPAR (the parity check) are kept.
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL);
#ifdef IUCLC
    t.c_iflag &= ~static_cast<tcflag_t>(IUCLC);
#endif
#ifdef IMAXBEL
    t.c_iflag &= ~static_cast<tcflag_t>(IMAXBEL);
#endif
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    // A gauge does not drive the carrier line: without CLOCAL its absence could hang up the
    // line.
    t.c_cflag |= static_cast<tcflag_t>(CREAD | CLOCAL);
    // Every byte is reported (and wakes poll) as soon as it arrives.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B38400);
    cfsetospeed(&t, B38400);
    return t;
}

termios WithGaugeFrame(const termios& raw) {
    termios t = raw;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARODD | CSTOPB);
#ifdef CMSPAR
    t.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
#endif
    t.c_cflag |= static_cast<tcflag_t>(CS8 | PARENB);
    return t;
}

bool Apply(int fd) {
    termios found{};
    if (tcgetattr(fd, &found) != 0)
        return false;
    const termios raw = RawAt38400(found);
    SetNow(fd, raw);
    if (SetNow(fd, WithGaugeFrame(raw)))
        return true;
    // Parity refused: at least take 8 data bits and 1 stop bit if the port allows them.
    termios eightBits = raw;
    eightBits.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB);
    eightBits.c_cflag |= static_cast<tcflag_t>(CS8);
    SetNow(fd, eightBits);
    return false;
}

}  // namespace linesettings
