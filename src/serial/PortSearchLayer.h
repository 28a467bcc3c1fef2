#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the port enumeration asks of the operating system: its version, the device
// installation view of present serial-port interfaces, and the registry's hardware tree.
// Each platform answers through its own layer; the enumeration logic stays the same.
//
// Calls that can fail answer false and leave a code for LastError(). A text is read into a
// buffer of `capacity` bytes, as the enumeration's fixed buffers are: it counts only when it
// fits with its terminator, measured as the system hands it out (in the ANSI code page on
// Windows, before it becomes UTF-8), and fails with kErrorInsufficientBuffer otherwise.
class IPortSearchLayer {
public:
    using DeviceSet = uint64_t;
    using RegKey = uint64_t;

    // The registry root that holds the hardware tree.
    static constexpr RegKey kLocalMachine = 0x80000002u;

    // Codes with a meaning of their own to the enumeration.
    static constexpr uint32_t kErrorFileNotFound = 2;
    static constexpr uint32_t kErrorInvalidData = 13;
    static constexpr uint32_t kErrorInsufficientBuffer = 122;
    static constexpr uint32_t kErrorNoMoreItems = 259;

    static constexpr uint32_t kPlatformNt = 2;

    struct SVersion {
        uint32_t majorVersion = 0;
        uint32_t platformId = 0;
    };
    struct SInterface {  // one interface of a device set
        uint64_t id = 0;
    };
    struct SDevice {  // the device behind an interface
        uint64_t id = 0;
    };
    enum class EProperty { FriendlyName, Description, Location };

    virtual ~IPortSearchLayer() = default;

    // Whether a text of `bytes` bytes fits a buffer of `capacity` with its terminator.
    static bool Fits(size_t bytes, size_t capacity) { return bytes < capacity; }

    // The code of the last call that failed.
    virtual uint32_t LastError() const = 0;

    virtual bool GetVersion(SVersion& version) = 0;

    // The set of present devices that expose the serial-port interface.
    virtual bool OpenPortInterfaces(DeviceSet& set) = 0;
    // The interface at `index`; past the last one it fails with kErrorNoMoreItems.
    virtual bool EnumPortInterface(DeviceSet set, uint32_t index, SInterface& iface) = 0;
    // The path to open the interface by, and its device.
    virtual bool GetInterfaceDetail(DeviceSet set, const SInterface& iface, size_t capacity,
                                    std::string& devicePath, SDevice& device) = 0;
    virtual bool GetDeviceProperty(DeviceSet set, const SDevice& device, EProperty property,
                                   size_t capacity, std::string& value) = 0;
    virtual void DestroyDeviceSet(DeviceSet set) = 0;

    // The registry, read only. `subKey` is one level below `parent`.
    virtual bool OpenKey(RegKey parent, const std::string& subKey, RegKey& key) = 0;
    // The name of the subkey at `index`; fails past the last one.
    virtual bool EnumSubKey(RegKey key, uint32_t index, size_t capacity, std::string& name) = 0;
    virtual bool QueryStringValue(RegKey key, const std::string& valueName, size_t capacity,
                                  std::string& value) = 0;
    virtual void CloseKey(RegKey key) = 0;
};
