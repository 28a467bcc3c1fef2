#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "serial/FindSerialPorts.h"
#include "serial/PortSearchLayer.h"

// An in-memory machine for the port enumeration: a version, a list of serial-port
// interfaces and a registry tree, each call able to fail with a chosen code. It counts
// what is opened and released so tests can check the clean-up.
class CFakePortSearchLayer : public IPortSearchLayer {
public:
    struct SInterfaceEntry {
        std::string devicePath;
        std::optional<std::string> friendlyName;
        std::optional<std::string> description;
        std::optional<std::string> location;
        uint32_t detailError = 0;  // not 0: the detail query fails with this code
    };
    struct SKeyEntry {
        std::vector<std::string> subKeys;
        std::map<std::string, std::string> values;
        bool failOpen = false;
    };

    SVersion version{10, kPlatformNt};
    std::optional<uint32_t> versionError;
    std::optional<uint32_t> openSetError;
    std::vector<SInterfaceEntry> interfaces;
    std::optional<uint32_t> enumErrorIndex;
    uint32_t enumErrorCode = 0;
    std::map<std::string, SKeyEntry> keys;  // by path below HKLM: "Enum\\ACPI\\*PNP0501"

    int setsOpen = 0;
    int keysOpen = 0;

    // Creates the key and its parents, each parent listing it once, in order of creation.
    SKeyEntry& Key(const std::string& path) {
        const size_t slash = path.rfind('\\');
        if (slash != std::string::npos && keys.find(path) == keys.end())
            Key(path.substr(0, slash)).subKeys.push_back(path.substr(slash + 1));
        return keys[path];
    }
    void Value(const std::string& keyPath, const std::string& name, const std::string& value) {
        Key(keyPath).values[name] = value;
    }

    uint32_t LastError() const override { return m_lastError; }

    bool GetVersion(SVersion& out) override {
        if (versionError)
            return Fail(*versionError);
        out = version;
        return true;
    }

    bool OpenPortInterfaces(DeviceSet& set) override {
        if (openSetError)
            return Fail(*openSetError);
        ++setsOpen;
        set = 77;
        return true;
    }
    bool EnumPortInterface(DeviceSet set, uint32_t index, SInterface& iface) override {
        if (set != 77)
            return Fail(kErrorInvalidData);
        if (enumErrorIndex && index == *enumErrorIndex)
            return Fail(enumErrorCode);
        if (index >= interfaces.size())
            return Fail(kErrorNoMoreItems);
        iface.id = index + 100;
        return true;
    }
    bool GetInterfaceDetail(DeviceSet, const SInterface& iface, size_t capacity, std::string& path,
                            SDevice& device) override {
        const SInterfaceEntry& entry = interfaces.at(iface.id - 100);
        if (entry.detailError != 0)
            return Fail(entry.detailError);
        device.id = iface.id + 1000;
        return Hand(entry.devicePath, capacity, path);
    }
    bool GetDeviceProperty(DeviceSet, const SDevice& device, EProperty property, size_t capacity,
                           std::string& value) override {
        const SInterfaceEntry& entry = interfaces.at(device.id - 1100);
        const std::optional<std::string>& found =
            property == EProperty::FriendlyName  ? entry.friendlyName
            : property == EProperty::Description ? entry.description
                                                 : entry.location;
        if (!found)
            return Fail(kErrorInvalidData);
        return Hand(*found, capacity, value);
    }
    void DestroyDeviceSet(DeviceSet) override { --setsOpen; }

    bool OpenKey(RegKey parent, const std::string& subKey, RegKey& key) override {
        std::string path;
        if (parent == kLocalMachine) {
            path = subKey;
        } else {
            const auto found = m_handles.find(parent);
            if (found == m_handles.end())
                return Fail(kErrorInvalidData);
            path = found->second + "\\" + subKey;
        }
        const auto entry = keys.find(path);
        if (entry == keys.end() || entry->second.failOpen)
            return Fail(kErrorFileNotFound);
        key = m_nextHandle++;
        m_handles[key] = path;
        ++keysOpen;
        return true;
    }
    bool EnumSubKey(RegKey key, uint32_t index, size_t capacity, std::string& name) override {
        const SKeyEntry& entry = keys.at(m_handles.at(key));
        if (index >= entry.subKeys.size())
            return Fail(kErrorNoMoreItems);
        return Hand(entry.subKeys[index], capacity, name);
    }
    bool QueryStringValue(RegKey key, const std::string& valueName, size_t capacity,
                          std::string& value) override {
        const SKeyEntry& entry = keys.at(m_handles.at(key));
        const auto found = entry.values.find(valueName);
        if (found == entry.values.end())
            return Fail(kErrorFileNotFound);
        return Hand(found->second, capacity, value);
    }
    void CloseKey(RegKey key) override {
        if (m_handles.erase(key) == 1)
            --keysOpen;
    }

private:
    bool Fail(uint32_t code) {
        m_lastError = code;
        return false;
    }
    bool Hand(const std::string& text, size_t capacity, std::string& out) {
        if (!Fits(text.size(), capacity))
            return Fail(kErrorInsufficientBuffer);
        out = text;
        return true;
    }

    uint32_t m_lastError = 0;
    RegKey m_nextHandle = 1;
    std::map<RegKey, std::string> m_handles;
};

// The message FindSerialPorts raises on `layer`, or "" when it succeeds.
inline std::string FindError(IPortSearchLayer& layer, SerInfoList& list) {
    try {
        FindSerialPorts(layer, list);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}
