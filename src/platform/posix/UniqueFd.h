#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <utility>

// Every file descriptor the POSIX layer opens is owned by one of these, so that no way out
// of a function leaks one.
class CUniqueFd {
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) : m_fd(fd) {}
    ~CUniqueFd() { Reset(); }
    CUniqueFd(CUniqueFd&& other) noexcept : m_fd(other.Release()) {}
    CUniqueFd& operator=(CUniqueFd&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;

    // The descriptor, -1 when none is held.
    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    // Closes the held descriptor, if any, and holds `fd` instead.
    void Reset(int fd = -1) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd = -1;
};

// Both ends of a pipe.
struct SPipe {
    CUniqueFd read;
    CUniqueFd write;
};

// A pipe whose ends programs started from here do not inherit; `statusFlags` may add
// O_NONBLOCK. False with errno set, and nothing held, when there is none.
inline bool OpenPipe(SPipe& pipe, int statusFlags = 0) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | statusFlags) != 0)
        return false;
    pipe.read.Reset(ends[0]);
    pipe.write.Reset(ends[1]);
    return true;
}
