#include "bench/window/PeakMemory.h"

#include <sys/resource.h>

#include <fstream>
#include <string>

long PeakResidentKib() {
    // The kernel's high-water mark of the resident set.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0;
}
