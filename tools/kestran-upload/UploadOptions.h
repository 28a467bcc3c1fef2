#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kestran-upload/CommandLineUpload.h"

// The command line of kestran-upload.
struct SUploadOptions {
    bool help = false;
    bool list = false;
    SUploadRequest request;
};

// Reads the arguments (without the program name). Nothing, and a text saying why, when
// they are not understood or ask for nothing.
std::optional<SUploadOptions> ParseUploadOptions(const std::vector<std::string>& args,
                                                 std::string* error);

extern const char* const kUploadUsage;
