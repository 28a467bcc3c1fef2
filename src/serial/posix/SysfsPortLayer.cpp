#include "serial/posix/SysfsPortLayer.h"

#include <cerrno>

#include "serial/posix/GaugeRegistry.h"
#include "serial/posix/SysfsTtyScan.h"

namespace {

// What follows a device path's "/dev/" in a friendly name: ttyUSB0, pts/3.
std::string ShortName(const std::string& devicePath) {
    const std::string dev = "/dev/";
    return devicePath.compare(0, dev.size(), dev) == 0 ? devicePath.substr(dev.size()) : devicePath;
}

}  // namespace

CSysfsPortLayer::CSysfsPortLayer(SSysfsLayerPaths paths) : m_paths(std::move(paths)) {}

bool CSysfsPortLayer::Fail(uint32_t code) {
    m_lastError = code;
    return false;
}

bool CSysfsPortLayer::GetVersion(SVersion& version) {
    // sysfs is a device-interface view: present devices only, each with its own path.
    version.majorVersion = 10;
    version.platformId = kPlatformNt;
    return true;
}

bool CSysfsPortLayer::OpenPortInterfaces(DeviceSet& set) {
    std::vector<SPort> ports;
    try {
        for (const SSysfsSerialPort& found : ScanSysfsSerialPorts(m_paths.sysfsRoot)) {
            SPort port;
            port.devicePath = (m_paths.devRoot / found.name).string();
            port.description = found.description;
            port.friendlyName = found.description + " (" + found.name + ")";
            port.location = found.location;
            ports.push_back(port);
        }
    } catch (const std::filesystem::filesystem_error& e) {
        return Fail(static_cast<uint32_t>(e.code().value()));
    }
    if (m_paths.gaugeRegistry) {
        for (const SGaugeEntry& gauge : ListLiveGauges(*m_paths.gaugeRegistry)) {
            SPort port;
            port.devicePath = gauge.ptyPath;
            port.description = "Kestran virtual gauge";
            if (!gauge.name.empty())
                port.description += " " + gauge.name;
            port.friendlyName = port.description + " (" + ShortName(gauge.ptyPath) + ")";
            port.location = "Pseudo-terminal of process " + std::to_string(gauge.pid);
            ports.push_back(port);
        }
    }
    set = m_nextSet++;
    m_sets[set] = std::move(ports);
    return true;
}

const CSysfsPortLayer::SPort* CSysfsPortLayer::Port(DeviceSet set, uint64_t id) {
    const auto found = m_sets.find(set);
    if (found == m_sets.end() || id >= found->second.size())
        return nullptr;
    return &found->second[id];
}

bool CSysfsPortLayer::EnumPortInterface(DeviceSet set, uint32_t index, SInterface& iface) {
    const auto found = m_sets.find(set);
    if (found == m_sets.end())
        return Fail(kErrorInvalidData);
    if (index >= found->second.size())
        return Fail(kErrorNoMoreItems);
    iface.id = index;
    return true;
}

// Linux names are bytes as they are, so they are measured as they stand.
bool CSysfsPortLayer::Hand(const std::string& text, size_t capacity, std::string& out) {
    if (!Fits(text.size(), capacity))
        return Fail(kErrorInsufficientBuffer);
    out = text;
    return true;
}

bool CSysfsPortLayer::GetInterfaceDetail(DeviceSet set, const SInterface& iface, size_t capacity,
                                         std::string& devicePath, SDevice& device) {
    const SPort* port = Port(set, iface.id);
    if (port == nullptr)
        return Fail(kErrorInvalidData);
    device.id = iface.id;
    return Hand(port->devicePath, capacity, devicePath);
}

bool CSysfsPortLayer::GetDeviceProperty(DeviceSet set, const SDevice& device, EProperty property,
                                        size_t capacity, std::string& value) {
    const SPort* port = Port(set, device.id);
    if (port == nullptr)
        return Fail(kErrorInvalidData);
    switch (property) {
        case EProperty::FriendlyName:
            return Hand(port->friendlyName, capacity, value);
        case EProperty::Description:
            return Hand(port->description, capacity, value);
        case EProperty::Location:
            if (!port->location)
                return Fail(kErrorInvalidData);
            return Hand(*port->location, capacity, value);
    }
    return Fail(kErrorInvalidData);
}

void CSysfsPortLayer::DestroyDeviceSet(DeviceSet set) {
    m_sets.erase(set);
}

// Linux keeps its hardware tree in sysfs, not in a registry.
bool CSysfsPortLayer::OpenKey(RegKey, const std::string&, RegKey&) {
    return Fail(kErrorFileNotFound);
}

bool CSysfsPortLayer::EnumSubKey(RegKey, uint32_t, size_t, std::string&) {
    return Fail(kErrorNoMoreItems);
}

bool CSysfsPortLayer::QueryStringValue(RegKey, const std::string&, size_t, std::string&) {
    return Fail(kErrorFileNotFound);
}

void CSysfsPortLayer::CloseKey(RegKey) {}
