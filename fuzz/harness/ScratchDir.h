#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "support/UniqueFolder.h"

// A private folder for the files a fuzz input is written to, removed with the object.
class CScratchDir {
public:
    CScratchDir() : m_path(MakeUniqueFolder("kestran-fuzz-")) {
        if (m_path.empty())
            throw std::runtime_error("no scratch folder");
    }
    ~CScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};
