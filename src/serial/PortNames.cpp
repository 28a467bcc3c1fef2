#include "serial/PortNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "base/Utf8Path.h"
#include "serial/NaturalOrder.h"

namespace portnames {
namespace {

const std::string kDevicePrefix = "\\\\.\\";

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

bool IsComName(const std::string& text) {
    if (text.size() < 4 || Upper(text.substr(0, 3)) != "COM")
        return false;
    return std::all_of(text.begin() + 3, text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::string DevicePathOf(const std::string& portOrPath) {
    return IsComName(portOrPath) ? kDevicePrefix + Upper(portOrPath) : portOrPath;
}

std::string PortNameOf(const SSerInfo& info) {
    if (!info.portName.empty())
        return info.portName;
    const std::string& friendly = info.friendlyName;
    const size_t open = friendly.rfind('(');
    if (open != std::string::npos && friendly.back() == ')') {
        const std::string inside = friendly.substr(open + 1, friendly.size() - open - 2);
        if (IsComName(inside))
            return inside;
    }
    if (info.devicePath.compare(0, kDevicePrefix.size(), kDevicePrefix) == 0)
        return info.devicePath.substr(kDevicePrefix.size());
    return {};
}

bool SamePortName(const std::string& a, const std::string& b) {
    return !a.empty() && Upper(a) == Upper(b);
}

bool NamesPort(const SSerInfo& port, const std::string& given) {
    if (port.devicePath == given)
        return true;
    const std::string name =
        IsComName(given) ? given : PortNameOf(SSerInfo{given, "", "", false, ""});
    if (SamePortName(PortNameOf(port), name))
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(utf8path::ToPath(port.devicePath), utf8path::ToPath(given),
                                       ec);
}

void AddListedPorts(SerInfoList& list, std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), naturalorder::Less);
    for (const std::string& name : names) {
        const bool listed = std::any_of(list.begin(), list.end(), [&name](const SSerInfo& info) {
            return SamePortName(PortNameOf(info), name);
        });
        if (!listed && !name.empty())
            list.push_back(SSerInfo{kDevicePrefix + name, name, name, false, name});
    }
}

}  // namespace portnames
