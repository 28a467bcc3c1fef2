#include "serial/ReaderWait.h"

namespace readerwait {

namespace {
constexpr int kAbortsBeforePause = 3;
constexpr std::chrono::milliseconds kQuietBeforePause{20};
constexpr std::chrono::milliseconds kPause{5};
constexpr std::chrono::milliseconds kIdleAfter{1000};
constexpr std::chrono::milliseconds kIdlePause{50};
}  // namespace

EEnd Judge(bool completed, uint32_t error, bool cancelled, bool portAnswers) {
    // First: a Disconnect that races the wait ends it in order, whatever the wait reported
    // (its mask change makes a new wait fail at once).
    if (cancelled)
        return EEnd::Cancelled;
    if (completed)
        return EEnd::Input;
    // Drivers abort a wait on a change of the port's state, and Wine aborts every wait on a
    // port without modem lines; as long as the port answers, it is still there.
    if (error == kErrorOperationAborted && portAnswers)
        return EEnd::LookAgain;
    return EEnd::LineGone;
}

std::chrono::milliseconds PauseBeforeLookingAgain(int abortsInRow,
                                                  std::chrono::milliseconds quietFor) {
    if (abortsInRow < kAbortsBeforePause || quietFor < kQuietBeforePause)
        return std::chrono::milliseconds::zero();
    return quietFor < kIdleAfter ? kPause : kIdlePause;
}

}  // namespace readerwait
