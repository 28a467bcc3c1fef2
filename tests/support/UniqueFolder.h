#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <cstdio>
#include <random>
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

// A temporary folder removed with the object; its path is empty when none could be made.
class CTempDir {
public:
    explicit CTempDir(const std::string& prefix = "kestran-test-")
        : m_path(MakeUniqueFolder(prefix)) {}
    ~CTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
