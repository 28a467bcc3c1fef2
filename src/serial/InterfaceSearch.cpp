// The device-interface search: every present device that exposes the serial-port
// interface and tells its friendly name and description.
#include <stdexcept>

#include "serial/PortSearches.h"

namespace portsearch {

namespace {

// Releases the device set on every way out of the search.
class CDeviceSetGuard {
public:
    CDeviceSetGuard(IPortSearchLayer& layer, IPortSearchLayer::DeviceSet set)
        : m_layer(layer), m_set(set) {}
    ~CDeviceSetGuard() { m_layer.DestroyDeviceSet(m_set); }
    CDeviceSetGuard(const CDeviceSetGuard&) = delete;
    CDeviceSetGuard& operator=(const CDeviceSetGuard&) = delete;

private:
    IPortSearchLayer& m_layer;
    IPortSearchLayer::DeviceSet m_set;
};

// A property counts only when it is there and fits its buffer.
bool ReadProperty(IPortSearchLayer& layer, IPortSearchLayer::DeviceSet set,
                  const IPortSearchLayer::SDevice& device, IPortSearchLayer::EProperty property,
                  std::string& value) {
    return layer.GetDeviceProperty(set, device, property, kPropertyCapacity, value);
}

}  // namespace

void FindPortsByInterface(IPortSearchLayer& layer, SerInfoList& list) {
    using EProperty = IPortSearchLayer::EProperty;

    IPortSearchLayer::DeviceSet set = 0;
    if (!layer.OpenPortInterfaces(set)) {
        throw std::runtime_error(WithErrorCode("SetupDiGetClassDevs failed.", layer.LastError()));
    }
    CDeviceSetGuard guard(layer, set);

    for (uint32_t index = 0;; ++index) {
        IPortSearchLayer::SInterface iface;
        if (!layer.EnumPortInterface(set, index, iface)) {
            const uint32_t code = layer.LastError();
            if (code == IPortSearchLayer::kErrorNoMoreItems)
                break;
            throw std::runtime_error(WithErrorCode("SetupDiEnumDeviceInterfaces failed.", code));
        }

        std::string devicePath;
        IPortSearchLayer::SDevice device;
        // A path too long for the detail buffer fails here too.
        if (!layer.GetInterfaceDetail(set, iface, kDetailPathCapacity, devicePath, device)) {
            throw std::runtime_error(
                WithErrorCode("SetupDiGetDeviceInterfaceDetail failed.", layer.LastError()));
        }

        std::string friendlyName;
        std::string description;
        const bool taken =
            ReadProperty(layer, set, device, EProperty::FriendlyName, friendlyName) &&
            ReadProperty(layer, set, device, EProperty::Description, description);
        std::string location;
        const bool isUsb = ReadProperty(layer, set, device, EProperty::Location, location) &&
                           location.compare(0, 3, "USB") == 0;
        if (!taken)
            continue;

        SSerInfo info;
        info.devicePath = devicePath;
        info.friendlyName = friendlyName;
        info.isUsb = isUsb;
        info.portDescription = description;
        list.push_back(info);
    }
}

}  // namespace portsearch
