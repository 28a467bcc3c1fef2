#include "platform/win32/WinApi.h"
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>

#include "common/Console.h"

namespace console {
namespace {

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<size_t>(size - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

void Prepare() {
    SetConsoleOutputCP(CP_UTF8);
}

// The narrow argv holds the ANSI code page, which cannot name every file: the arguments are
// taken from the wide command line instead.
std::vector<std::string> Arguments(int, char**) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i)
        args.push_back(Utf8(wide.get()[i]));
    return args;
}

bool IsTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

// A console that no other process shares was made for this program and closes with it.
void HoldOwnConsole() {
    DWORD processes[2];
    // A console of its own reads its keyboard; input from elsewhere never brings an Enter.
    if (GetConsoleProcessList(processes, 2) != 1 || _isatty(_fileno(stdin)) == 0)
        return;
    std::fputs("Press Enter to close this window.", stdout);
    std::fflush(stdout);
    std::getchar();
}

}  // namespace console
