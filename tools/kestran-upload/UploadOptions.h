#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kestran-upload/CommandLineUpload.h"

// The command line of kestran-upload.
struct SUploadOptions {
    bool help = false;
    bool list = false;
    SUploadRequest request;              // its port is the first of `ports`
    std::vector<std::string> ports;      // every --port, in order, none twice
    bool station = false;                // load each gauge port that appears
    bool includePresent = false;         // the station loads the ports present at start too
    std::optional<std::string> pattern;  // the station's --ports
};

// Reads the arguments (without the program name). Nothing, and a text saying why, when
// they are not understood or ask for nothing.
std::optional<SUploadOptions> ParseUploadOptions(const std::vector<std::string>& args,
                                                 std::string* error);

// The --help text, made from the options' own definitions.
std::string UploadUsage();
