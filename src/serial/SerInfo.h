#pragma once

#include <string>
#include <vector>

// One serial port found by the enumeration. The port list box shows friendlyName;
// Connect opens devicePath.
struct SSerInfo {
    std::string devicePath;
    std::string portName;
    std::string friendlyName;
    bool isUsb = false;
    std::string portDescription;
};

// Position i of the port list is entry i of the port list box.
using SerInfoList = std::vector<SSerInfo>;
