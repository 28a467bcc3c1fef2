#pragma once

#include "platform/win32/WinApi.h"
#include <setupapi.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/win32/WinHandle.h"
#include "serial/PortSearchLayer.h"

// The port enumeration's questions put to Windows: the version, the device installation
// functions for present COM-port interfaces, and the registry's hardware tree. Texts come
// back in UTF-8 whatever the system's code page. Handles are kept here and handed out as
// numbers; what is not closed by the search is released with the layer.
class CWin32PortSearchLayer : public IPortSearchLayer {
public:
    CWin32PortSearchLayer() = default;
    CWin32PortSearchLayer(const CWin32PortSearchLayer&) = delete;
    CWin32PortSearchLayer& operator=(const CWin32PortSearchLayer&) = delete;

    uint32_t LastError() const override { return m_lastError; }
    bool GetVersion(SVersion& version) override;
    bool OpenPortInterfaces(DeviceSet& set) override;
    bool EnumPortInterface(DeviceSet set, uint32_t index, SInterface& iface) override;
    bool GetInterfaceDetail(DeviceSet set, const SInterface& iface, size_t capacity,
                            std::string& devicePath, SDevice& device) override;
    bool GetDeviceProperty(DeviceSet set, const SDevice& device, EProperty property,
                           size_t capacity, std::string& value) override;
    void DestroyDeviceSet(DeviceSet set) override;
    bool OpenKey(RegKey parent, const std::string& subKey, RegKey& key) override;
    bool EnumSubKey(RegKey key, uint32_t index, size_t capacity, std::string& name) override;
    bool QueryStringValue(RegKey key, const std::string& valueName, size_t capacity,
                          std::string& value) override;
    void CloseKey(RegKey key) override;

private:
    struct SDeviceSetCloser {
        void operator()(void* set) const { SetupDiDestroyDeviceInfoList(set); }
    };
    struct SDeviceSetEntry {
        std::unique_ptr<void, SDeviceSetCloser> handle;
        std::vector<SP_DEVICE_INTERFACE_DATA> interfaces;
        std::vector<SP_DEVINFO_DATA> devices;
    };

    bool Fail();  // records GetLastError(); false
    bool Fail(LSTATUS status);
    // A narrow text as a call gave it, measured against `capacity`, then made UTF-8.
    bool Hand(std::string ansi, size_t capacity, std::string& out);
    SDeviceSetEntry* SetOf(DeviceSet set);
    HKEY KeyOf(RegKey key) const;  // null when unknown

    uint32_t m_lastError = 0;
    uint64_t m_nextId = 1;
    std::map<DeviceSet, SDeviceSetEntry> m_sets;
    std::map<RegKey, CUniqueKey> m_keys;
};
