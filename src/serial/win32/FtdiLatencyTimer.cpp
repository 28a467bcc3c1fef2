// The latency timer of an FTDI adapter, as its driver keeps it in the device's parameters.
#include "platform/win32/WinApi.h"
#include <setupapi.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "serial/AdapterLatency.h"
#include "serial/PortNames.h"

namespace {

// The device setup class of serial and parallel ports, {4D36E978-E325-11CE-BFC1-08002BE10318}.
const GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE,
                          {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
// FTDI's driver enumerates its ports below a bus of its own.
const char* const kFtdiEnumerator = "FTDIBUS";

struct SDeviceSetCloser {
    void operator()(HDEVINFO set) const { SetupDiDestroyDeviceInfoList(set); }
};
using CDeviceSet = std::unique_ptr<std::remove_pointer_t<HDEVINFO>, SDeviceSetCloser>;

struct SKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using CKey = std::unique_ptr<std::remove_pointer_t<HKEY>, SKeyCloser>;

std::string StringValue(HKEY key, const char* name) {
    std::vector<char> bytes(256, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(bytes.size() - 1);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    return std::string(bytes.data());
}

std::optional<DWORD> NumberValue(HKEY key, const char* name) {
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return value;
}

std::string PortNameOfPath(const std::string& devicePath) {
    if (portnames::IsComName(devicePath))
        return devicePath;
    return portnames::PortNameOf(SSerInfo{devicePath, "", "", false, ""});
}

}  // namespace

std::optional<SAdapterLatency> ReadAdapterLatency(const std::string& devicePath) {
    const std::string portName = PortNameOfPath(devicePath);
    if (portName.empty())
        return std::nullopt;
    const HDEVINFO handle =
        SetupDiGetClassDevsA(&kPortsClass, kFtdiEnumerator, nullptr, DIGCF_PRESENT);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;  // no FTDI port on this machine
    const CDeviceSet set(handle);
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (!SetupDiEnumDeviceInfo(set.get(), index, &device))
            return std::nullopt;
        // The parameters key, opened for reading only: the timer is the user's to set.
        const HKEY parameters =
            SetupDiOpenDevRegKey(set.get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (parameters == INVALID_HANDLE_VALUE)
            continue;
        const CKey key(parameters);
        if (!portnames::SamePortName(StringValue(key.get(), "PortName"), portName))
            continue;
        const std::optional<DWORD> timer = NumberValue(key.get(), "LatencyTimer");
        if (!timer || *timer > 1000000)
            return std::nullopt;
        SAdapterLatency latency;
        latency.milliseconds = static_cast<int>(*timer);
        latency.howToSet =
            "Device Manager, the port's Properties, Port Settings, Advanced: Latency Timer 1";
        return latency;
    }
}
