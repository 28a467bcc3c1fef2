// The registry search of systems without the device-interface view: the serial ports
// described below HKLM\Enum, by the standard port device ids or the USB port enumerator.
#include <stdexcept>

#include "serial/PortSearches.h"

namespace portsearch {

namespace {

using RegKey = IPortSearchLayer::RegKey;

// An open key, closed on every way out of the walk.
class CKey {
public:
    explicit CKey(IPortSearchLayer& layer) : m_layer(layer) {}
    ~CKey() {
        if (m_open)
            m_layer.CloseKey(m_key);
    }
    CKey(const CKey&) = delete;
    CKey& operator=(const CKey&) = delete;

    bool Open(RegKey parent, const std::string& subKey) {
        m_open = m_layer.OpenKey(parent, subKey, m_key);
        return m_open;
    }
    RegKey Get() const { return m_key; }

    // The name of the subkey at `index`; false past the last one, and for a name too long
    // for its buffer, which ends the walk of this level.
    bool SubKey(uint32_t index, std::string& name) const {
        return m_layer.EnumSubKey(m_key, index, kKeyNameCapacity, name);
    }
    bool Value(const std::string& valueName, std::string& value) const {
        return m_layer.QueryStringValue(m_key, valueName, kValueCapacity, value);
    }

private:
    IPortSearchLayer& m_layer;
    RegKey m_key = 0;
    bool m_open = false;
};

const char kEnumPath[] = "Could not read from HKLM\\Enum";

bool IsPortDeviceId(const std::string& deviceId) {
    return deviceId == "*PNP0500" || deviceId == "*PNP0501";
}

// The same port may be described by several keys: it keeps the position where it was
// first found and takes the values of the last key read.
void AddOrReplace(SerInfoList& list, const SSerInfo& info) {
    for (SSerInfo& existing : list) {
        if (existing.portName == info.portName) {
            existing = info;
            return;
        }
    }
    list.push_back(info);
}

void ReadPortInstances(IPortSearchLayer& layer, const CKey& deviceKey, bool isUsb,
                       SerInfoList& list) {
    std::string instance;
    for (uint32_t index = 0; deviceKey.SubKey(index, instance); ++index) {
        CKey instanceKey(layer);
        if (!instanceKey.Open(deviceKey.Get(), instance)) {
            throw std::runtime_error(std::string(kEnumPath) + "\\...\\" + instance);
        }
        SSerInfo info;
        if (!instanceKey.Value("PORTNAME", info.portName))
            continue;
        if (!instanceKey.Value("FRIENDLYNAME", info.friendlyName))
            info.friendlyName.clear();
        info.devicePath = "\\\\.\\" + info.portName;
        info.isUsb = isUsb;
        AddOrReplace(list, info);
    }
}

}  // namespace

void FindPortsInRegistry(IPortSearchLayer& layer, SerInfoList& list) {
    CKey enumKey(layer);
    if (!enumKey.Open(IPortSearchLayer::kLocalMachine, "Enum"))
        throw std::runtime_error(kEnumPath);

    std::string enumerator;
    for (uint32_t e = 0; enumKey.SubKey(e, enumerator); ++e) {
        CKey enumeratorKey(layer);
        if (!enumeratorKey.Open(enumKey.Get(), enumerator)) {
            throw std::runtime_error(std::string(kEnumPath) + "\\" + enumerator);
        }
        const bool isUsb = enumerator == "USBPORTS";

        std::string deviceId;
        for (uint32_t d = 0; enumeratorKey.SubKey(d, deviceId); ++d) {
            if (!isUsb && !IsPortDeviceId(deviceId))
                continue;
            CKey deviceKey(layer);
            if (!deviceKey.Open(enumeratorKey.Get(), deviceId)) {
                throw std::runtime_error(std::string(kEnumPath) + "\\" + enumerator + "\\" +
                                         deviceId);
            }
            ReadPortInstances(layer, deviceKey, isUsb, list);
        }
    }
}

}  // namespace portsearch
