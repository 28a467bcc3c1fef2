// The port enumeration: choose the search by the system's version, then complete each
// record so that it has a name to show and a description.
#include "serial/FindSerialPorts.h"

#include <cstdio>
#include <stdexcept>

#include "serial/PortSearches.h"

namespace portsearch {

std::string WithErrorCode(const char* what, uint32_t code) {
    char text[160];
    std::snprintf(text, sizeof text, "%s (err=%lx)", what, static_cast<unsigned long>(code));
    return text;
}

void ListNumberedPorts(SerInfoList& list) {
    // Nothing is probed: an NT system before version 5 cannot tell which of them exist.
    for (int n = 1; n <= 16; ++n) {
        SSerInfo info;
        info.portName = "COM" + std::to_string(n);
        info.devicePath = "\\\\.\\" + info.portName;
        list.push_back(info);
    }
}

void CompleteRecord(SSerInfo& info) {
    if (info.friendlyName.empty())
        info.friendlyName = info.portName;
    if (!info.portDescription.empty())
        return;
    info.portDescription = info.friendlyName;
    // "Communications Port (COM1)" describes as "Communications Port"; "Port (A) B" and a
    // text that begins with " (" stay whole.
    const std::string& text = info.portDescription;
    const size_t open = text.find(" (");
    const size_t close = text.find(')');
    if (open != std::string::npos && open > 0 && close != std::string::npos &&
        close == text.size() - 1) {
        info.portDescription.resize(open);
    }
}

}  // namespace portsearch

void FindSerialPorts(IPortSearchLayer& layer, SerInfoList& list) {
    list.clear();
    list.shrink_to_fit();

    IPortSearchLayer::SVersion version;
    if (!layer.GetVersion(version)) {
        throw std::runtime_error(
            portsearch::WithErrorCode("Could not get OS version.", layer.LastError()));
    }
    if (version.majorVersion >= 5) {
        portsearch::FindPortsByInterface(layer, list);
    } else if (version.platformId == IPortSearchLayer::kPlatformNt) {
        portsearch::ListNumberedPorts(list);
    } else {
        portsearch::FindPortsInRegistry(layer, list);
    }

    for (SSerInfo& info : list)
        portsearch::CompleteRecord(info);
}
