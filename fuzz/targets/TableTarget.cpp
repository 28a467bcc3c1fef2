// libFuzzer target: angle-entry texts through the table line and the numeric spin control.
#include <cstddef>
#include <cstdint>

#include "FuzzMain.h"
#include "TableCase.h"
#include "dialog/HeadlessHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CHeadlessHost host;
    return RunFuzzInput([&] { fuzzcase::RunTable(host, data, size); });
}
