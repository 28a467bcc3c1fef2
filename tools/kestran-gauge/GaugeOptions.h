#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kestran-gauge/GaugeServer.h"

// The command line of kestran-gauge.
struct SGaugeOptions {
    SGaugeServerOptions server;
    std::string name;                          // shown in Kestran's port list
    std::string outDir = "kestran-gauge-out";  // where received dials and tables go
    bool help = false;
};

// Reads the arguments (without the program name). Nothing, and a text saying why, when
// they are not understood.
std::optional<SGaugeOptions> ParseGaugeOptions(const std::vector<std::string>& args,
                                               std::string* error);

// The --help text, made from the options' own definitions.
std::string GaugeUsage();
