#include <signal.h>
#include <unistd.h>

#include "common/Console.h"

namespace console {

void Prepare() {
    signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool IsTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

// A terminal outlives the program on these systems.
void HoldOwnConsole() {}

}  // namespace console
