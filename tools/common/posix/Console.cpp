#include <signal.h>
#include <sys/ioctl.h>
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

int Columns(std::FILE* stream) {
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return 80;
    return size.ws_col;
}

// A terminal outlives the program on these systems.
void HoldOwnConsole() {}

}  // namespace console
