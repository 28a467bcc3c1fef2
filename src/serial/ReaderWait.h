#pragma once

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

}  // namespace readerwait
