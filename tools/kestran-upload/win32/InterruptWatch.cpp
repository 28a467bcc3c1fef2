#include "platform/win32/WinApi.h"

#include <csignal>

#include "kestran-upload/InterruptWatch.h"

// The console calls a plain function on a thread of its own: the one watch of the process is
// found through this pointer, set while the watch lives.
namespace {

std::atomic<std::atomic<int>*> g_pending{nullptr};
// Closing the console window ends the process once the handler returns; it waits a moment
// for the upload to tell the gauge and give the port back.
constexpr DWORD kCloseGraceMs = 3000;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    std::atomic<int>* pending = g_pending.load();
    if (pending == nullptr)
        return FALSE;
    int signal = SIGINT;
    if (event == CTRL_CLOSE_EVENT)
        signal = 1;  // the hang-up of a POSIX terminal, SIGHUP
    else if (event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        signal = SIGTERM;
    int none = 0;
    pending->compare_exchange_strong(none, signal);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(kCloseGraceMs);
    return TRUE;
}

}  // namespace

struct CInterruptWatch::SPlatform {};

CInterruptWatch::CInterruptWatch() : m_platform(std::make_unique<SPlatform>()) {
    g_pending = &m_signal;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

CInterruptWatch::~CInterruptWatch() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    g_pending = nullptr;
}
