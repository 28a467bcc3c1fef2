#pragma once

#include <functional>
#include <memory>
#include <vector>

struct SSerInfo;
class ISerialPort;

// What the dialog needs from the machine besides its window: the port enumeration and a
// way to make serial ports. Tests hand in fakes; the programs hand in the platform's.
struct SDialogServices {
    // Empties the list and refills it; raises std::runtime_error with the message to show.
    std::function<void(std::vector<SSerInfo>&)> findSerialPorts;
    // A new, unopened port.
    std::function<std::unique_ptr<ISerialPort>()> makeSerialPort;
};
