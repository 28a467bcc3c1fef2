#pragma once

#include <chrono>
#include <cstdint>

// How the reader thread's wait for a serial event ended on a Windows port, judged from what
// the system reported. Kept apart from the calls so that the judgement is tested anywhere.
namespace readerwait {

constexpr uint32_t kErrorOperationAborted = 995;  // ERROR_OPERATION_ABORTED

enum class EEnd {
    Input,      // an event came: look at the port's status again
    Cancelled,  // Disconnect asked the reader to stop
    LookAgain,  // the wait was aborted by no one of ours: look again
    LineGone,   // the port fails: the device was unplugged or the line hung up
};

// `completed`: the wait ended without error; `error`: its error code otherwise.
// `cancelled`: Disconnect's cancel is in force. `portAnswers`: the port still answers a
// status query.
EEnd Judge(bool completed, uint32_t error, bool cancelled, bool portAnswers);

// How long to wait (for Disconnect only) before looking again, after `abortsInRow` waits in
// a row were aborted with nothing received, the first of them `quietFor` ago. A driver that
// aborts a wait now and then is looked at again at once; one that aborts every wait (Wine
// on a pseudo-terminal) would keep a core busy while the line is idle. A gauge answers an
// upload's lines within milliseconds, so the pauses wait for a quiet spell; they grow once
// the line has been idle for a second, which delays the first reply after it a little.
std::chrono::milliseconds PauseBeforeLookingAgain(int abortsInRow,
                                                  std::chrono::milliseconds quietFor);

}  // namespace readerwait
