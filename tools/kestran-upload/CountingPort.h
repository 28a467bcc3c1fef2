#pragma once

#include <atomic>
#include <memory>

#include "serial/SerialPort.h"

// A serial port that counts the lines written through it (each write of the dialog is one
// line) and otherwise passes everything on.
class CCountingPort : public ISerialPort {
public:
    CCountingPort(std::unique_ptr<ISerialPort> port, std::shared_ptr<std::atomic<int>> lines)
        : m_port(std::move(port)), m_lines(std::move(lines)) {}

    bool Open(const std::string& devicePath) override { return m_port->Open(devicePath); }
    std::string FailureReason() const override { return m_port->FailureReason(); }
    void ApplyLineSettings() override { m_port->ApplyLineSettings(); }
    void DiscardInput() override { m_port->DiscardInput(); }
    uint32_t Write(const void* data, uint32_t n) override {
        ++*m_lines;
        return m_port->Write(data, n);
    }
    int BytesWaiting() override { return m_port->BytesWaiting(); }
    int Read(void* buffer, int max) override { return m_port->Read(buffer, max); }
    WaitResult WaitForInput() override { return m_port->WaitForInput(); }
    void CancelWait() override { m_port->CancelWait(); }
    void Close() override { m_port->Close(); }

private:
    std::unique_ptr<ISerialPort> m_port;
    std::shared_ptr<std::atomic<int>> m_lines;
};
