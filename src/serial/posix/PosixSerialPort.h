#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/posix/UniqueFd.h"
#include "serial/SerialPort.h"
#include "serial/posix/LowLatencyMode.h"
#include "serial/posix/PortHolders.h"

// A serial line on a POSIX terminal device (a UART, a USB serial adapter, or a
// pseudo-terminal that a virtual gauge serves). The descriptor is non-blocking; the reader
// thread sleeps in poll() on it together with a wake-up pipe that CancelWait writes to.
class CPosixSerialPort : public ISerialPort {
public:
    // `driver` reaches the serial driver's flags, for its low-latency mode.
    explicit CPosixSerialPort(SSerialDriverFlags driver = RealSerialDriverFlags());
    ~CPosixSerialPort() override;
    CPosixSerialPort(const CPosixSerialPort&) = delete;
    CPosixSerialPort& operator=(const CPosixSerialPort&) = delete;

    // Fails when the device is absent, not a terminal, not accessible, or held by another
    // program: one that has it open (except the gauge serving a pseudo-terminal), or set
    // the terminal's exclusive flag, or holds the advisory lock that even root obeys.
    bool Open(const std::string& devicePath) override;
    std::string FailureReason() const override;
    void DiscardInput() override;
    // Also asks the driver for its low-latency mode where it offers one; Close puts the
    // driver's flags back.
    void ApplyLineSettings() override;
    uint32_t Write(const void* data, uint32_t n) override;
    int BytesWaiting() override;
    int Read(void* buffer, int max) override;
    WaitResult WaitForInput() override;
    void CancelWait() override;
    void Close() override;

    // The terminal's descriptor, -1 while closed.
    int Descriptor() const { return m_fd.Get(); }

private:
    bool Fail(int error, const std::string& devicePath, const std::optional<SPortHolder>& holder);

    CUniqueFd m_fd;
    std::string m_failure;  // why the last Open failed
    SPipe m_wake;           // readable once CancelWait has been called
    CLowLatencyMode m_lowLatency;
};
