#include "serial/posix/OpenFailureText.h"

#include <cerrno>
#include <cstring>

namespace {

// ModemManager probes every new USB serial device for a modem and holds it meanwhile.
constexpr const char* kModemManager = "ModemManager";

std::string Busy(const std::optional<SPortHolder>& holder) {
    const std::string head = "Device or resource busy: ";
    if (!holder) {
        return head + "another program holds it (" + kModemManager +
               ", for one, takes new USB serial devices to look for modems)";
    }
    const std::string pid = "PID " + std::to_string(holder->pid);
    if (holder->name.empty())
        return head + "held by another program (" + pid + "); close it and try again";
    const std::string held = head + "held by " + holder->name + " (" + pid + ")";
    if (holder->name == kModemManager) {
        return held +
               ", which takes new USB serial devices to look for modems; try again in a moment, "
               "or stop it (sudo systemctl stop ModemManager)";
    }
    return held + "; close that program and try again";
}

std::string PermissionDenied(const std::string& groupToJoin) {
    const std::string head = "Permission denied";
    if (groupToJoin.empty())
        return head;
    return head + ": the device belongs to the group " + groupToJoin +
           ", which this user is not in (sudo adduser $USER " + groupToJoin +
           ", then log in again)";
}

}  // namespace

std::string OpenFailureText(int error, const std::string& groupToJoin,
                            const std::optional<SPortHolder>& holder) {
    // The usual causes in fixed words; anything else in the system's own.
    switch (error) {
        case 0:
            return {};
        case EACCES:
            return PermissionDenied(groupToJoin);
        case EBUSY:
            return Busy(holder);
        case ENOENT:
            return "No such file or directory: the device is not there (unplugged?)";
        case ENODEV:
        case ENXIO:
            return "No such device: the device is not there (unplugged?)";
        case ENOTTY:
            return "Not a serial port: the device is not a terminal";
        default:
            return std::strerror(error);
    }
}
