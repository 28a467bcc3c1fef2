#include "kestran-dial/win32/WorkshopProgram.h"

#include "platform/win32/WinApi.h"

#include <cstdio>

#include "platform/win32/WinHandle.h"
#include "platform/win32/WinText.h"

int StartWorkshopProgram(const std::optional<std::string>& picture) {
    std::wstring self(32768, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    const std::wstring program =
        self.substr(0, self.find_last_of(L"\\/") + 1) + L"kestran-workshop.exe";
    // A path in quotes is one argument whatever it holds, as long as it holds no quote, which
    // no Windows file name can.
    std::wstring commandLine = L"\"" + program + L"\"";
    if (picture)
        commandLine += L" \"" + wintext::Wide(*picture) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        std::fprintf(stderr, "kestran-dial: %s cannot be started: %s\n",
                     wintext::Utf8(program).c_str(),
                     wintext::SystemMessage(GetLastError()).c_str());
        return 1;
    }
    CUniqueHandle process(started.hProcess), thread(started.hThread);
    return 0;
}
