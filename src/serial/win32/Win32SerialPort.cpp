#include "serial/win32/Win32SerialPort.h"

#include <algorithm>

#include "base/GaugeFacts.h"
#include "platform/win32/WinText.h"
#include "serial/ReaderWait.h"

namespace {

// A write of n bytes gives up after 50 + 10 * n ms; a read waits at most 50 ms between bytes.
const COMMTIMEOUTS kTimeouts = {50, 10, 50, 10, 50};

// The write time-outs' own figure for n bytes, which a driver may not keep to.
DWORD WriteTimeoutMs(uint32_t n) {
    const uint64_t ms =
        kTimeouts.WriteTotalTimeoutConstant + uint64_t{kTimeouts.WriteTotalTimeoutMultiplier} * n;
    return static_cast<DWORD>(std::min<uint64_t>(ms, INFINITE - 1));
}

// One name per port for the claim: the device path with the characters a kernel object name
// may not hold replaced.
std::wstring ClaimName(const std::string& devicePath) {
    std::wstring name = L"Local\\Kestran serial port ";
    for (wchar_t c : wintext::Wide(devicePath))
        name += c == L'\\' ? L'/' : c;
    return name;
}

std::string OpenFailureText(DWORD error) {
    const std::string system = wintext::SystemMessage(error);
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return system + ": the port is not there (unplugged?)";
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return system + ": another program holds the port; close it and try again";
        default:
            return system;
    }
}

}  // namespace

CWin32SerialPort::SOverlap::SOverlap() : event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

OVERLAPPED* CWin32SerialPort::SOverlap::Fresh() {
    record = OVERLAPPED{};
    record.hEvent = event.get();
    ResetEvent(event.get());
    return &record;
}

CWin32SerialPort::CWin32SerialPort() : m_cancel(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

CWin32SerialPort::~CWin32SerialPort() {
    Close();
}

bool CWin32SerialPort::Open(const std::string& devicePath) {
    if (m_port)
        return false;
    m_failure.clear();
    // Windows itself keeps a COM port to one handle; some drivers (and Wine) do not, and
    // then this keeps out a second Kestran at least.
    CUniqueHandle claim(CreateMutexW(nullptr, FALSE, ClaimName(devicePath).c_str()));
    if (!claim || GetLastError() == ERROR_ALREADY_EXISTS) {
        m_failure =
            wintext::SystemMessage(ERROR_SHARING_VIOLATION) + ": another Kestran holds the port";
        return false;
    }
    CUniqueHandle port = OwnFileHandle(CreateFileA(wintext::AnsiFromUtf8(devicePath).c_str(),
                                                   GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                   OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!port) {
        m_failure = OpenFailureText(GetLastError());
        return false;
    }
    m_port = std::move(port);
    m_claim = std::move(claim);
    ResetEvent(m_cancel.get());
    return true;
}

std::string CWin32SerialPort::FailureReason() const {
    return m_failure;
}

// Results are not examined: the connection goes on with whatever the port accepted.
void CWin32SerialPort::ApplyLineSettings() {
    if (!m_port)
        return;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(m_port.get(), &dcb);
    dcb.BaudRate = gauge::kBaud;
    dcb.ByteSize = 8;
    dcb.Parity = EVENPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(m_port.get(), &dcb);
    COMMTIMEOUTS timeouts = kTimeouts;
    SetCommTimeouts(m_port.get(), &timeouts);
    SetCommMask(m_port.get(), EV_RXCHAR);
}

void CWin32SerialPort::DiscardInput() {
    if (m_port)
        PurgeComm(m_port.get(), PURGE_RXCLEAR);
}

uint32_t CWin32SerialPort::Write(const void* data, uint32_t n) {
    if (!m_port)
        return 0;
    DWORD errors = 0;
    COMSTAT status{};
    ClearCommError(m_port.get(), &errors, &status);  // clears an error state; not used
    DWORD written = 0;
    OVERLAPPED* overlap = m_write.Fresh();
    if (WriteFile(m_port.get(), data, n, &written, overlap))
        return written;
    if (GetLastError() != ERROR_IO_PENDING)
        return 0;
    // The write time-outs should end it, but a driver may ignore them, and flow control
    // that another program left on holds it for as long as the device keeps CTS low: the
    // wait has a limit of its own, then the write is cancelled and what went out is told.
    if (WaitForSingleObject(overlap->hEvent, WriteTimeoutMs(n)) != WAIT_OBJECT_0)
        CancelIoEx(m_port.get(), overlap);
    // A cancelled or failed write still tells how many bytes it wrote.
    GetOverlappedResult(m_port.get(), overlap, &written, TRUE);
    return written;
}

int CWin32SerialPort::BytesWaiting() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!m_port || !ClearCommError(m_port.get(), &errors, &status))
        return 0;
    return static_cast<int>(status.cbInQue);
}

int CWin32SerialPort::Read(void* buffer, int max) {
    if (!m_port || max < 0)
        return -1;
    DWORD read = 0;
    OVERLAPPED* overlap = m_read.Fresh();
    if (ReadFile(m_port.get(), buffer, static_cast<DWORD>(max), &read, overlap))
        return static_cast<int>(read);
    if (GetLastError() != ERROR_IO_PENDING)
        return -1;
    // Not done at once: it must not go on writing into the caller's buffer after this
    // returns. Cancelled, then collected; bytes it took meanwhile are handed on, not lost.
    CancelIoEx(m_port.get(), overlap);
    const BOOL done = GetOverlappedResult(m_port.get(), overlap, &read, TRUE);
    return done || read > 0 ? static_cast<int>(read) : -1;
}

ISerialPort::WaitResult CWin32SerialPort::WaitForInput() {
    if (!m_port || WaitForSingleObject(m_cancel.get(), 0) == WAIT_OBJECT_0)
        return m_port ? WaitResult::Cancelled : WaitResult::Failed;
    DWORD mask = 0;
    OVERLAPPED* overlap = m_wait.Fresh();
    bool completed = WaitCommEvent(m_port.get(), &mask, overlap) != FALSE;
    DWORD error = completed ? 0 : GetLastError();
    if (!completed && error == ERROR_IO_PENDING) {
        // Until a character arrives or Disconnect changes the mask; the cancel event beside
        // it ends the wait even where a mask change does not (a wait begun after it).
        const HANDLE ends[2] = {overlap->hEvent, m_cancel.get()};
        if (WaitForMultipleObjects(2, ends, FALSE, INFINITE) != WAIT_OBJECT_0)
            CancelIoEx(m_port.get(), overlap);
        DWORD unused = 0;
        completed = GetOverlappedResult(m_port.get(), overlap, &unused, TRUE) != FALSE;
        error = completed ? 0 : GetLastError();
    }
    const bool cancelled = WaitForSingleObject(m_cancel.get(), 0) == WAIT_OBJECT_0;
    DWORD errors = 0;
    COMSTAT status{};
    const bool answers = ClearCommError(m_port.get(), &errors, &status) != FALSE;
    switch (readerwait::Judge(completed, error, cancelled, answers)) {
        case readerwait::EEnd::Cancelled:
            return WaitResult::Cancelled;
        case readerwait::EEnd::LineGone:
            return WaitResult::Failed;
        case readerwait::EEnd::Input:
            m_abortsInRow = 0;
            break;
        case readerwait::EEnd::LookAgain: {
            if (status.cbInQue > 0) {
                m_abortsInRow = 0;
                break;
            }
            const auto now = std::chrono::steady_clock::now();
            if (m_abortsInRow++ == 0)
                m_quietSince = now;
            const auto pause = readerwait::PauseBeforeLookingAgain(
                m_abortsInRow,
                std::chrono::duration_cast<std::chrono::milliseconds>(now - m_quietSince));
            // On the cancel event, so that Disconnect never waits for a pause.
            if (pause.count() > 0 &&
                WaitForSingleObject(m_cancel.get(), static_cast<DWORD>(pause.count())) ==
                    WAIT_OBJECT_0) {
                return WaitResult::Cancelled;
            }
            break;
        }
    }
    return WaitResult::Input;
}

void CWin32SerialPort::CancelWait() {
    SetEvent(m_cancel.get());
    if (m_port)
        SetCommMask(m_port.get(), 0);  // ends a WaitCommEvent that is pending
}

void CWin32SerialPort::Close() {
    m_port.reset();
    m_claim.reset();
}
