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

// The bars redraw themselves with the terminal's escape sequences, which a console
// interprets only when asked to (Windows 10 and later); where it cannot, IsTerminal says
// no and the output is plain lines.
void Prepare() {
    SetConsoleOutputCP(CP_UTF8);
    const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(errors, &mode))
        SetConsoleMode(errors, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING | ENABLE_PROCESSED_OUTPUT);
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
    DWORD mode = 0;
    const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    return _isatty(_fileno(stream)) != 0 && GetConsoleMode(console, &mode) &&
           (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

int Columns(std::FILE* stream) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (!GetConsoleScreenBufferInfo(console, &info))
        return 80;
    return info.srWindow.Right - info.srWindow.Left + 1;
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
