#include "serial/PlatformServices.h"

#include "serial/FindSerialPorts.h"
#include "serial/PortNames.h"
#include "serial/win32/SerialCommNames.h"
#include "serial/win32/Win32PortSearchLayer.h"
#include "serial/win32/Win32SerialPort.h"

SDialogServices MakePlatformServices() {
    SDialogServices services;
    services.findSerialPorts = [](SerInfoList& list) {
        CWin32PortSearchLayer layer;
        FindSerialPorts(layer, list);
        // Beyond the device-interface search: ports that only the system's port map lists
        // (virtual port pairs, some Bluetooth and older drivers, Wine's mapped ports).
        portnames::AddListedPorts(list, ReadSerialCommNames());
    };
    services.makeSerialPort = [] { return std::make_unique<CWin32SerialPort>(); };
    return services;
}
