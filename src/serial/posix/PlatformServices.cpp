#include "serial/PlatformServices.h"

#include "serial/FindSerialPorts.h"
#include "serial/posix/GaugeRegistry.h"
#include "serial/posix/PosixSerialPort.h"
#include "serial/posix/SysfsPortLayer.h"

SDialogServices MakePlatformServices() {
    SDialogServices services;
    services.findSerialPorts = [](SerInfoList& list) {
        SSysfsLayerPaths paths;
        paths.gaugeRegistry = DefaultGaugeRegistryDir();
        CSysfsPortLayer layer(paths);
        FindSerialPorts(layer, list);
    };
    services.makeSerialPort = [] { return std::make_unique<CPosixSerialPort>(); };
    return services;
}
