// libFuzzer target: arbitrary bytes as a gauge configuration file, loaded and saved again.
#include <cstddef>
#include <cstdint>

#include "harness/FuzzMain.h"
#include "harness/GacCase.h"
#include "harness/ScratchDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CScratchDir scratch;
    return RunFuzzInput([&] { fuzzcase::RunGacFile(scratch, data, size); });
}
