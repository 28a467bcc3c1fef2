#include "serial/win32/Win32PortSearchLayer.h"

#include <algorithm>

#include "platform/win32/WinText.h"

namespace {

// The COM-port device-interface class, {86E0D1E0-8089-11D0-9CE4-08003E301F73}; its header
// belongs to the driver kit.
const GUID kComPortInterface = {0x86E0D1E0, 0x8089, 0x11D0,
                                {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};

DWORD PropertyCode(IPortSearchLayer::EProperty property) {
    switch (property) {
        case IPortSearchLayer::EProperty::FriendlyName:
            return SPDRP_FRIENDLYNAME;
        case IPortSearchLayer::EProperty::Description:
            return SPDRP_DEVICEDESC;
        case IPortSearchLayer::EProperty::Location:
            break;
    }
    return SPDRP_LOCATION_INFORMATION;
}

}  // namespace

bool CWin32PortSearchLayer::Fail() {
    m_lastError = GetLastError();
    return false;
}

bool CWin32PortSearchLayer::Fail(LSTATUS status) {
    m_lastError = static_cast<uint32_t>(status);
    return false;
}

// The registry's and the device installation functions' narrow texts end in one or more
// zero bytes and are in the ANSI code page, where a Chinese or Japanese character takes two
// bytes (three in UTF-8): the buffer's limit holds for the text as given.
bool CWin32PortSearchLayer::Hand(std::string ansi, size_t capacity, std::string& out) {
    while (!ansi.empty() && ansi.back() == '\0')
        ansi.pop_back();
    if (!Fits(ansi.size(), capacity))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    out = wintext::Utf8FromAnsi(ansi);
    return true;
}

bool CWin32PortSearchLayer::GetVersion(SVersion& version) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info))
        return Fail();
#pragma GCC diagnostic pop
    version.majorVersion = info.dwMajorVersion;
    version.platformId = info.dwPlatformId;
    return true;
}

bool CWin32PortSearchLayer::OpenPortInterfaces(DeviceSet& set) {
    HDEVINFO handle = SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr,
                                           DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (handle == INVALID_HANDLE_VALUE)
        return Fail();
    set = m_nextId++;
    m_sets[set].handle.reset(handle);
    return true;
}

CWin32PortSearchLayer::SDeviceSetEntry* CWin32PortSearchLayer::SetOf(DeviceSet set) {
    const auto it = m_sets.find(set);
    if (it != m_sets.end())
        return &it->second;
    m_lastError = ERROR_INVALID_HANDLE;
    return nullptr;
}

bool CWin32PortSearchLayer::EnumPortInterface(DeviceSet set, uint32_t index, SInterface& iface) {
    SDeviceSetEntry* entry = SetOf(set);
    if (entry == nullptr)
        return false;
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;  // the size of this build's structure, not of a 32-bit one
    if (!SetupDiEnumDeviceInterfaces(entry->handle.get(), nullptr, &kComPortInterface,
                                     index, &data)) {
        return Fail();
    }
    iface.id = entry->interfaces.size();
    entry->interfaces.push_back(data);
    return true;
}

bool CWin32PortSearchLayer::GetInterfaceDetail(DeviceSet set, const SInterface& iface,
                                               size_t capacity, std::string& devicePath,
                                               SDevice& device) {
    SDeviceSetEntry* entry = SetOf(set);
    if (entry == nullptr || iface.id >= entry->interfaces.size())
        return entry == nullptr ? false : Fail(ERROR_INVALID_PARAMETER);
    SP_DEVICE_INTERFACE_DATA& data = entry->interfaces[iface.id];
    // The whole path, however long: the search decides what fits its buffer.
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailA(entry->handle.get(), &data, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
        return Fail();
    std::vector<char> buffer(required, '\0');
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    if (!SetupDiGetDeviceInterfaceDetailA(entry->handle.get(), &data, detail, required, nullptr,
                                          &info)) {
        return Fail();
    }
    device.id = entry->devices.size();
    entry->devices.push_back(info);
    return Hand(detail->DevicePath, capacity, devicePath);
}

bool CWin32PortSearchLayer::GetDeviceProperty(DeviceSet set, const SDevice& device,
                                              EProperty property, size_t capacity,
                                              std::string& value) {
    SDeviceSetEntry* entry = SetOf(set);
    if (entry == nullptr || device.id >= entry->devices.size())
        return entry == nullptr ? false : Fail(ERROR_INVALID_PARAMETER);
    SP_DEVINFO_DATA& info = entry->devices[device.id];
    const DWORD code = PropertyCode(property);
    DWORD type = 0;
    DWORD required = 0;
    SetupDiGetDeviceRegistryPropertyA(entry->handle.get(), &info, code, &type, nullptr, 0,
                                      &required);
    if (required == 0)
        return Fail();
    std::vector<char> buffer(required, '\0');
    if (!SetupDiGetDeviceRegistryPropertyA(entry->handle.get(), &info, code, &type,
                                           reinterpret_cast<BYTE*>(buffer.data()), required,
                                           &required)) {
        return Fail();
    }
    return Hand(std::string(buffer.data(), std::min<size_t>(required, buffer.size())), capacity,
                value);
}

void CWin32PortSearchLayer::DestroyDeviceSet(DeviceSet set) {
    m_sets.erase(set);
}

HKEY CWin32PortSearchLayer::KeyOf(RegKey key) const {
    // The layer's own name for the root, matched by value: handles are never made from it.
    if (key == kLocalMachine)
        return HKEY_LOCAL_MACHINE;
    const auto it = m_keys.find(key);
    return it == m_keys.end() ? nullptr : it->second.get();
}

bool CWin32PortSearchLayer::OpenKey(RegKey parent, const std::string& subKey, RegKey& key) {
    const HKEY from = KeyOf(parent);
    if (from == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    HKEY opened = nullptr;
    const LSTATUS status =
        RegOpenKeyExA(from, wintext::AnsiFromUtf8(subKey).c_str(), 0, KEY_READ, &opened);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    key = m_nextId++;
    if (key == kLocalMachine)
        key = m_nextId++;
    m_keys[key].reset(opened);
    return true;
}

bool CWin32PortSearchLayer::EnumSubKey(RegKey key, uint32_t index, size_t capacity,
                                       std::string& name) {
    const HKEY from = KeyOf(key);
    if (from == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    char buffer[256];  // a key name has at most 255 characters
    DWORD length = sizeof buffer;
    const LSTATUS status =
        RegEnumKeyExA(from, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    return Hand(std::string(buffer, length), capacity, name);
}

bool CWin32PortSearchLayer::QueryStringValue(RegKey key, const std::string& valueName,
                                             size_t capacity, std::string& value) {
    const HKEY from = KeyOf(key);
    if (from == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    const std::string name = wintext::AnsiFromUtf8(valueName);
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExA(from, name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return Fail(ERROR_INVALID_DATA);
    std::vector<char> buffer(size + 1, '\0');
    status = RegQueryValueExA(from, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status != ERROR_SUCCESS)
        return Fail(status);
    return Hand(std::string(buffer.data(), std::min<size_t>(size, buffer.size())), capacity, value);
}

void CWin32PortSearchLayer::CloseKey(RegKey key) {
    m_keys.erase(key);
}
