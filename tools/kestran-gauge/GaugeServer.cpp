#include "kestran-gauge/GaugeServer.h"

#include <poll.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <cerrno>

#include "kestran-gauge/WireTime.h"

namespace {

// Two replies written back to back could be read as one message, which the tool would not
// recognise. A further reply waits for the tool's next bytes, or this long at most.
constexpr std::chrono::milliseconds kReplySpacing{200};
constexpr std::chrono::milliseconds kFullLineRetry{10};
constexpr size_t kMaxShownLine = 300;

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

}  // namespace

CGaugeServer::CGaugeServer(CGaugePty& pty, SGaugeServerOptions options, IGaugeServerEvents& events)
    : m_pty(pty),
      m_master(pty.Master()),
      m_options(options),
      m_events(events),
      m_gauge(options.faults) {}

CGaugeServer::EEnd CGaugeServer::Run(int stopFd, const sigset_t* waitMask) {
#ifdef __linux__
    // Replies are timed to the microsecond; the default timer slack would add 50 us to each.
    prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
#endif
    for (;;) {
        if (!SendDueReplies())
            return EEnd::LineFailed;

        timespec timeout{};
        const timespec* wait = nullptr;
        if (const std::optional<Clock::time_point> next = NextSendTime()) {
            const auto left = std::max(Clock::duration::zero(), *next - Clock::now());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            wait = &timeout;
        }
        // A descriptor of -1 is passed over by poll.
        const short lineEvents = m_options.deaf ? 0 : POLLIN;
        pollfd fds[3] = {{m_master, lineEvents, 0},
                         {stopFd, POLLIN, 0},
                         {m_pty.WatchDescriptor(), POLLIN, 0}};
        const int ready = ppoll(fds, 3, wait, waitMask);
        if (ready < 0) {
            if (errno != EINTR)
                return EEnd::LineFailed;
            // Only the signals the wait lets through interrupt it: they ask to stop.
            if (waitMask != nullptr)
                return EEnd::Stopped;
            continue;
        }
        if (fds[1].revents != 0)
            return EEnd::Stopped;
        if (fds[2].revents != 0)
            TakePortEvents();
        if ((fds[0].revents & POLLIN) != 0) {
            char buffer[4096];
            const ssize_t n = read(m_master, buffer, sizeof buffer);
            const Clock::time_point readAt = Clock::now();
            if (n > 0) {
                if (!Receive(std::string_view(buffer, static_cast<size_t>(n)), readAt)) {
                    return EEnd::HungUp;
                }
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                return EEnd::LineFailed;
            }
        } else if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            return EEnd::LineFailed;
        }
    }
}

void CGaugeServer::TakePortEvents() {
    // In order, so that a close and a new open read together still end the session between.
    for (const CGaugePty::EPortEvent event : m_pty.TakePortEvents()) {
        if (event == CGaugePty::EPortEvent::Opened) {
            if (m_openers++ == 0)
                m_events.OnPortOpened();
            continue;
        }
        m_openers = std::max(0, m_openers - 1);
        // A port scanner, or a second tool that is refused, comes and goes beside the tool:
        // only the last close ends the session.
        if (m_openers > 0)
            continue;
        // Replies the tool did not read were meant for it alone.
        m_replies.clear();
        m_pty.DropUnreadInput();
        m_events.OnPortClosed();
    }
}

bool CGaugeServer::Receive(std::string_view bytes, Clock::time_point readAt) {
    m_inputSinceReply = true;
    while (!bytes.empty()) {
        // One line at a time, so that each reply is timed from its own line.
        const size_t end = bytes.find('\n');
        const std::string_view piece =
            bytes.substr(0, end == std::string_view::npos ? end : end + 1);
        bytes.remove_prefix(piece.size());

        Clock::time_point arrived = readAt;
        if (m_options.wireTime) {
            m_receiveFree = std::max(m_receiveFree, readAt) +
                            gaugewire::WireTime(static_cast<long long>(piece.size()));
            arrived = m_receiveFree;
        }
        const size_t violationsBefore = m_gauge.Violations().size();
        const SGaugeOutput out = m_gauge.Feed(piece);

        if (m_lineSoFar.size() < kMaxShownLine)
            m_lineSoFar.append(piece);
        if (piece.back() == '\n') {
            m_events.OnLine(WithoutLineEnd(m_lineSoFar), readAt, arrived);
            m_lineSoFar.clear();
        }
        const std::vector<std::string>& violations = m_gauge.Violations();
        for (size_t i = violationsBefore; i < violations.size(); ++i) {
            m_events.OnViolation(violations[i]);
        }
        if (out.hangUp) {
            m_replies.clear();
            m_events.OnHangUp();
            return false;
        }
        // A line still on its way when the tool closed the port gets no answer: a port
        // opened afresh holds nothing, and a late reply would be taken for the next one.
        const bool heard = m_pty.WatchDescriptor() < 0 || m_openers > 0;
        for (const std::string& reply : heard ? out.replies : std::vector<std::string>{}) {
            Clock::time_point due = arrived + m_options.replyDelay;
            if (m_options.wireTime) {
                // The reply is through when its last byte has crossed the line.
                m_sendFree = std::max(due, m_sendFree) +
                             gaugewire::WireTime(static_cast<long long>(reply.size()));
                due = m_sendFree;
            }
            m_replies.push_back({reply, due});
        }
        if (out.uploadEnded)
            m_events.OnUploadEnded(m_gauge);
    }
    return true;
}

std::optional<CGaugeServer::Clock::time_point> CGaugeServer::NextSendTime() const {
    if (m_replies.empty())
        return std::nullopt;
    Clock::time_point next = std::max(m_replies.front().due, m_retryAt);
    if (!m_inputSinceReply)
        next = std::max(next, m_lastSent + kReplySpacing);
    return next;
}

bool CGaugeServer::SendDueReplies() {
    while (!m_replies.empty()) {
        const Clock::time_point now = Clock::now();
        if (*NextSendTime() > now)
            return true;
        SReply& reply = m_replies.front();
        const ssize_t n = write(m_master, reply.bytes.data(), reply.bytes.size());
        if (n < 0) {
            if (errno != EAGAIN && errno != EINTR)
                return false;
            // The tool does not read: its input queue is full.
            m_retryAt = now + kFullLineRetry;
            return true;
        }
        if (static_cast<size_t>(n) < reply.bytes.size()) {
            reply.bytes.erase(0, static_cast<size_t>(n));
            m_retryAt = now + kFullLineRetry;
            return true;
        }
        const Clock::time_point sent = Clock::now();
        m_events.OnReply(reply.bytes, reply.due, sent);
        m_lastSent = sent;
        m_inputSinceReply = false;
        m_replies.pop_front();
    }
    return true;
}
