#pragma once

#include <string>
#include <vector>

#include "platform/posix/UniqueFd.h"

// The pseudo-terminal a virtual gauge serves: the gauge works the master end, Kestran opens
// the slave end as it would a serial port. The gauge keeps a slave descriptor of its own
// open, so the master does not report a hang-up whenever Kestran is not connected, and it
// watches other programs open and close the slave end.
class CGaugePty {
public:
    CGaugePty();
    ~CGaugePty();
    CGaugePty(const CGaugePty&) = delete;
    CGaugePty& operator=(const CGaugePty&) = delete;

    // False when no pseudo-terminal could be had; Error() tells why.
    bool IsOpen() const { return m_master.IsOpen(); }
    const std::string& Error() const { return m_error; }

    // Non-blocking master descriptor, -1 when closed.
    int Master() const { return m_master.Get(); }
    // The path Kestran opens, e.g. /dev/pts/3.
    const std::string& SlavePath() const { return m_slavePath; }

    // Readable when another program has opened or closed the slave end since the last
    // TakePortEvents; -1 when that cannot be watched.
    int WatchDescriptor() const { return m_watch.Get(); }
    enum class EPortEvent { Opened, Closed };
    // The opens and closes since the last call, in the order they happened.
    std::vector<EPortEvent> TakePortEvents();

    // Throws away what was written to the master end and not yet read at the slave end.
    void DropUnreadInput();

    // Closes both ends: whoever holds the terminal open sees a hang-up, as after a pulled
    // cable.
    void HangUp();

private:
    CUniqueFd m_master;
    CUniqueFd m_slave;
    CUniqueFd m_watch;
    std::string m_slavePath;
    std::string m_error;
};
