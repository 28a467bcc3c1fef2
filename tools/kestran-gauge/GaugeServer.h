#pragma once

#include <signal.h>

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "gauge/VirtualGauge.h"
#include "kestran-gauge/GaugePty.h"

// How a served gauge behaves on the line, besides its faults.
struct SGaugeServerOptions {
    SGaugeFaults faults;
    std::chrono::microseconds replyDelay{0};  // wait this long after a line before answering
    bool wireTime = false;  // take as long as the 38400 baud line would, in both directions
    bool deaf = false;      // read nothing: what the tool writes fills the line
};

// What a served gauge tells its owner. Every call comes from the thread that runs the
// server. Times are on the steady clock.
class IGaugeServerEvents {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~IGaugeServerEvents() = default;

    // A whole line came in (shown without its line end); its last byte was read at `read`.
    // `arrived` is the same, or with the wire time simulated, when the line could have
    // arrived at the earliest.
    virtual void OnLine(std::string_view /*line*/, TimePoint /*read*/, TimePoint /*arrived*/) {}
    // A reply went out at `sent`; it was due at `due`.
    virtual void OnReply(std::string_view /*reply*/, TimePoint /*due*/, TimePoint /*sent*/) {}
    virtual void OnViolation(const std::string& /*text*/) {}
    // An upload ended with END: what the gauge holds may be saved now.
    virtual void OnUploadEnded(const CVirtualGauge& /*gauge*/) {}
    // The gauge hangs up on purpose; the server stops serving.
    virtual void OnHangUp() {}
    // Another program opened the port while no other had it open; the last one closed it.
    virtual void OnPortOpened() {}
    virtual void OnPortClosed() {}
};

// Serves a virtual gauge on the master end of a pseudo-terminal: reads what the tool
// writes, answers each reply as a message of its own, on time, and keeps serving across
// any number of connections. When the last program that has the port open closes it,
// replies not read are dropped, as a port opened afresh holds nothing.
class CGaugeServer {
public:
    enum class EEnd {
        Stopped,     // asked to stop
        HungUp,      // the gauge hung up on purpose: the caller closes the line
        LineFailed,  // the line cannot be read or written any more
    };

    CGaugeServer(CGaugePty& pty, SGaugeServerOptions options, IGaugeServerEvents& events);
    CGaugeServer(const CGaugeServer&) = delete;
    CGaugeServer& operator=(const CGaugeServer&) = delete;

    // Serves until `stopFd` (when not -1) becomes readable, a signal interrupts the wait,
    // the gauge hangs up, or the line fails. While waiting, the thread's signal mask is
    // `waitMask` when given: blocked termination signals delivered then end the serving.
    EEnd Run(int stopFd, const sigset_t* waitMask = nullptr);

    const CVirtualGauge& Gauge() const { return m_gauge; }

private:
    using Clock = std::chrono::steady_clock;
    struct SReply {
        std::string bytes;
        Clock::time_point due;
    };

    // Hands the bytes to the gauge line by line; false when the gauge hung up.
    bool Receive(std::string_view bytes, Clock::time_point readAt);
    // Writes the replies whose time has come; false when the line failed.
    bool SendDueReplies();
    // When the next reply may go, if one waits.
    std::optional<Clock::time_point> NextSendTime() const;

    void TakePortEvents();

    CGaugePty& m_pty;
    int m_master;
    SGaugeServerOptions m_options;
    IGaugeServerEvents& m_events;
    CVirtualGauge m_gauge;

    std::string m_lineSoFar;  // the line being received, for the events
    std::deque<SReply> m_replies;
    Clock::time_point m_receiveFree{};  // simulated wire: when the last byte in arrived
    Clock::time_point m_sendFree{};     // simulated wire: when the last reply was through
    Clock::time_point m_lastSent{};
    Clock::time_point m_retryAt{};  // the line was full: try again then
    bool m_inputSinceReply = true;
    int m_openers = 0;  // other programs that hold the port open
};
