// libFuzzer target: angle-entry texts through the table line and the numeric spin control.
#include <cstddef>
#include <cstdint>

#include "dialog/HeadlessHost.h"
#include "harness/FuzzMain.h"
#include "harness/TableCase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CHeadlessHost host;
    return RunFuzzInput([&] { fuzzcase::RunTable(host, data, size); });
}
