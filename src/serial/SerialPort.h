#pragma once

#include <cstdint>
#include <string>

// An open serial line as the dialog and its reader thread use it. One object serves one
// Connect: it is opened once and closed once.
class ISerialPort {
public:
    virtual ~ISerialPort() = default;

    // Open the device for exclusive use. False when it is absent, busy or not accessible.
    virtual bool Open(const std::string& devicePath) = 0;

    // Why the last Open failed, in words for a person: the system's reason and, where it is
    // known, what to do about it. Empty when nothing is known.
    virtual std::string FailureReason() const = 0;

    // 38400 baud, 8 data bits, even parity, 1 stop bit, raw bytes, the write and read
    // time-outs; flow control stays as found. What the port refuses is left as it was.
    virtual void ApplyLineSettings() = 0;

    // Throw away what the port received before now, so that leftovers of an earlier
    // session are never taken for an answer.
    virtual void DiscardInput() = 0;

    // Write n bytes; returns when they are written or after 50 + 10 * n ms, with the number
    // of bytes written (0 when the write cannot start). Always returns.
    virtual uint32_t Write(const void* data, uint32_t n) = 0;

    // Number of bytes waiting to be read (0 when it cannot be told).
    virtual int BytesWaiting() = 0;

    // Read what is waiting, at most max bytes, without waiting; -1 when the read fails.
    virtual int Read(void* buffer, int max) = 0;

    enum class WaitResult { Input, Cancelled, Failed };
    // Reader thread: sleep until input arrives, CancelWait is called, or the line fails
    // (hang-up, device gone).
    virtual WaitResult WaitForInput() = 0;

    // Thread-safe: end a pending WaitForInput at once, and every later one, until Close.
    virtual void CancelWait() = 0;

    virtual void Close() = 0;
};
