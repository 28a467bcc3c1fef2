// libFuzzer target: arbitrary bytes as a dial picture file.
#include <cstddef>
#include <cstdint>

#include "harness/FuzzMain.h"
#include "harness/PictureCase.h"
#include "harness/ScratchDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CScratchDir scratch;
    return RunFuzzInput([&] { fuzzcase::RunPicture(scratch, data, size); });
}
