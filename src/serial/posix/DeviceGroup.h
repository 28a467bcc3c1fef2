#pragma once

#include <string>

// The group a user would join to use the device at `devicePath`: the device's group, when
// that group may read and write it and this process is not in it. Empty otherwise, and for
// root's group, which is no remedy.
std::string GroupToJoin(const std::string& devicePath);
