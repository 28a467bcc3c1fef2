// libFuzzer target: the user's steps and the gauge's replies around uploads.
#include <cstddef>
#include <cstdint>

#include "harness/FuzzMain.h"
#include "harness/ReplyCase.h"
#include "harness/ScratchDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CScratchDir scratch;
    static const fuzzcase::CReplyStreamCase replyCase(scratch);
    return RunFuzzInput([&] { replyCase.Run(data, size); });
}
