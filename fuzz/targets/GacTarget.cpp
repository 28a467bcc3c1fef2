// libFuzzer target: arbitrary bytes as a gauge configuration file, loaded and saved again.
#include <cstddef>
#include <cstdint>

#include "FuzzMain.h"
#include "GacCase.h"
#include "ScratchDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CScratchDir scratch;
    return RunFuzzInput([&] { fuzzcase::RunGacFile(scratch, data, size); });
}
