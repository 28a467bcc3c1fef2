// libFuzzer target: arbitrary bytes as a dial picture file.
#include <cstddef>
#include <cstdint>

#include "FuzzMain.h"
#include "PictureCase.h"
#include "ScratchDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CScratchDir scratch;
    return RunFuzzInput([&] { fuzzcase::RunPicture(scratch, data, size); });
}
