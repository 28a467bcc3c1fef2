#pragma once

#include "platform/win32/WinApi.h"

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/win32/WinHandle.h"
#include "serial/SerialPort.h"

// A serial line on a Windows COM port, opened for overlapped I/O: the user-interface thread
// reads and writes with an overlapped record each, the reader thread waits for serial events
// with one of its own.
class CWin32SerialPort : public ISerialPort {
public:
    CWin32SerialPort();
    ~CWin32SerialPort() override;
    CWin32SerialPort(const CWin32SerialPort&) = delete;
    CWin32SerialPort& operator=(const CWin32SerialPort&) = delete;

    // Fails when the port is absent, held by another program (Windows opens a COM port for
    // one handle only), or when another Kestran has it.
    bool Open(const std::string& devicePath) override;
    std::string FailureReason() const override;
    void ApplyLineSettings() override;
    void DiscardInput() override;
    uint32_t Write(const void* data, uint32_t n) override;
    int BytesWaiting() override;
    int Read(void* buffer, int max) override;
    WaitResult WaitForInput() override;
    void CancelWait() override;
    void Close() override;

    // The port's handle, null while closed.
    HANDLE Handle() const { return m_port.get(); }

private:
    // An OVERLAPPED record with a manual-reset event of its own.
    struct SOverlap {
        OVERLAPPED record{};
        CUniqueHandle event;
        SOverlap();
        OVERLAPPED* Fresh();  // cleared for the next call, its event kept and reset
    };

    CUniqueHandle m_port;
    CUniqueHandle m_claim;  // named after the port: keeps out a second Kestran
    SOverlap m_read;        // the user-interface thread's reads
    SOverlap m_write;       // and its writes
    SOverlap m_wait;        // the reader thread's waits
    CUniqueHandle m_cancel;  // manual reset: once set, every wait ends at once
    // The reader thread's own: aborted waits in a row with nothing received, since when.
    int m_abortsInRow = 0;
    std::chrono::steady_clock::time_point m_quietSince;
    std::string m_failure;
};
