#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// The dialog keeps every text in UTF-8, file paths included; the system is asked in its own
// terms: Windows takes UTF-16 paths (its narrow calls take the ANSI code page, which cannot
// name every file), POSIX systems take the bytes as they are.
namespace utf8path {

std::filesystem::path ToPath(const std::string& utf8);
std::string FromPath(const std::filesystem::path& path);

// std::fopen for a UTF-8 path.
std::FILE* Open(const std::string& utf8, const char* mode);

}  // namespace utf8path
