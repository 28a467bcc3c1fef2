// kestran-dial: makes dials out of artwork, draws a table's needles on a dial, fills a table
// from a few marks and counts an upload's cost, without a gauge; without a command, the dial
// workshop's window.
#include <cstdio>
#include <string>
#include <vector>

#include "common/Console.h"
#include "kestran-dial/DialCommands.h"
#ifdef KESTRAN_DIAL_WINDOW
#ifdef _WIN32
#include "kestran-dial/win32/WorkshopProgram.h"
#else
#include "app/qt/WorkshopApp.h"
#endif
#endif

int main(int argc, char** argv) {
    console::Prepare();
    const std::vector<std::string> args = console::Arguments(argc, argv);
    std::string error;
    const std::optional<SDialCommand> command = ParseDialCommand(args, &error);
    int status = 0;
    if (!command) {
        std::fprintf(stderr, "kestran-dial: %s\nkestran-dial --help lists the commands.\n",
                     error.c_str());
        status = static_cast<int>(EDialExit::Refused);
    } else if (command->help) {
        status = std::fputs(DialUsage().c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
#ifdef KESTRAN_DIAL_WINDOW
    } else if (const auto* window = std::get_if<SWindowCommand>(&command->command)) {
#ifdef _WIN32
        status = StartWorkshopProgram(window->picture);
#else
        status = RunWorkshopWindow(argc, argv, window->picture);
#endif
#endif
    } else {
        SDialReport report;
        status = static_cast<int>(RunDialCommand(*command, report));
        std::fputs(report.out.c_str(), stdout);
        std::fputs(report.err.c_str(), stderr);
        std::fflush(stdout);
    }
    // Explorer opens a console for a dropped picture and closes it at once otherwise.
    if (command && std::holds_alternative<SPictureAloneCommand>(command->command))
        console::HoldOwnConsole();
    return status;
}
