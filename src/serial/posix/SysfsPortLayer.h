#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "serial/PortSearchLayer.h"

// Where the Linux port layer looks.
struct SSysfsLayerPaths {
    std::filesystem::path sysfsRoot = "/sys";
    std::filesystem::path devRoot = "/dev";
    // Folder of virtual gauge entries; nothing to list none.
    std::optional<std::filesystem::path> gaugeRegistry;
};

// The port enumeration's view of a Linux machine. The device-interface search sees the
// real serial devices of sysfs, followed by the live virtual gauges; there is no registry.
// The version it reports selects the device-interface search.
class CSysfsPortLayer : public IPortSearchLayer {
public:
    explicit CSysfsPortLayer(SSysfsLayerPaths paths);

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
    struct SPort {
        std::string devicePath;
        std::string friendlyName;
        std::string description;
        std::optional<std::string> location;
    };
    const SPort* Port(DeviceSet set, uint64_t id);
    bool Fail(uint32_t code);
    bool Hand(const std::string& text, size_t capacity, std::string& out);

    SSysfsLayerPaths m_paths;
    uint32_t m_lastError = 0;
    DeviceSet m_nextSet = 1;
    std::map<DeviceSet, std::vector<SPort>> m_sets;
};
