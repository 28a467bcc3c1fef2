#pragma once

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <cstdio>
#include <random>
#include <system_error>
#else
#include <stdlib.h>
#endif

// Makes a new, empty folder in the temporary directory whose name starts with `prefix`;
// an empty path when none can be made.
inline std::filesystem::path MakeUniqueFolder(const std::string& prefix) {
    namespace fs = std::filesystem;
#ifdef _WIN32
    // No mkdtemp here; create_directory answers true only for a folder it made itself, so
    // a name another process took is never shared.
    std::error_code ec;
    const fs::path parent = fs::temp_directory_path(ec);
    if (ec)
        return {};
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        const fs::path path = parent / (prefix + suffix);
        if (fs::create_directory(path, ec))
            return path;
        if (ec)
            return {};
    }
    return {};
#else
    std::string pattern = (fs::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern;
#endif
}
