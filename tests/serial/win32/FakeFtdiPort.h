#pragma once

#include "platform/win32/WinApi.h"

#include <string>

// An FTDI adapter's port as its driver records it, made in the registry of the test's own
// Wine prefix for as long as the object lives: a device of the ports class below FTDIBUS,
// whose parameters name the port and its latency timer.
class CFakeFtdiPort {
public:
    CFakeFtdiPort(const std::string& portName, DWORD latencyTimer)
        : m_device("SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS\\VID_0403+PID_6001+KESTRAN" +
                   portName) {
        const std::string instance = m_device + "\\0000";
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, instance.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        const std::string portsClass = "{4d36e978-e325-11ce-bfc1-08002be10318}";
        RegSetValueExA(key, "ClassGUID", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(portsClass.c_str()),
                       static_cast<DWORD>(portsClass.size() + 1));
        HKEY parameters = nullptr;
        if (RegCreateKeyExA(key, "Device Parameters", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &parameters, nullptr) == ERROR_SUCCESS) {
            RegSetValueExA(parameters, "PortName", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(portName.c_str()),
                           static_cast<DWORD>(portName.size() + 1));
            RegSetValueExA(parameters, "LatencyTimer", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&latencyTimer), sizeof latencyTimer);
            RegCloseKey(parameters);
            m_made = true;
        }
        RegCloseKey(key);
    }
    ~CFakeFtdiPort() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_device.c_str()); }
    CFakeFtdiPort(const CFakeFtdiPort&) = delete;
    CFakeFtdiPort& operator=(const CFakeFtdiPort&) = delete;

    bool Made() const { return m_made; }

    // The timer as the driver keeps it now.
    DWORD LatencyTimer() const {
        DWORD value = 0;
        DWORD size = sizeof value;
        RegGetValueA(HKEY_LOCAL_MACHINE, (m_device + "\\0000\\Device Parameters").c_str(),
                     "LatencyTimer", RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }

private:
    std::string m_device;
    bool m_made = false;
};
