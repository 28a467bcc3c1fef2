#pragma once

#include <optional>
#include <string>

#include "serial/posix/PortHolders.h"

// Why a terminal device would not open, as one line for a person: the cause and, where it
// is known, the remedy. `error` is the errno of the failure (0: nothing failed);
// `groupToJoin` the group that may use the device and this user is not in (empty when not
// known or not the cause); `holder` the other program that has the device open, if found.
std::string OpenFailureText(int error, const std::string& groupToJoin,
                            const std::optional<SPortHolder>& holder);
