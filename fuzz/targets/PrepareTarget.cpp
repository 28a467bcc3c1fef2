// libFuzzer target: an options byte and arbitrary bytes as artwork for kestran-dial prepare.
#include <cstddef>
#include <cstdint>

#include "harness/FuzzMain.h"
#include "harness/PrepareCase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return RunFuzzInput([&] { fuzzcase::RunPrepare(data, size); });
}
