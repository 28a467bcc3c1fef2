#pragma once

#include <optional>
#include <string>
#include <vector>

class CImage;

// Reading what the commands take, with the refusal worded for a person: "FILE: what".
namespace dialinputs {

// A dial as the window accepts it: 230 x 230 with alpha; otherwise the window's words.
bool LoadDial(const std::string& path, CImage& dial, std::string* why);

// The angle texts of a gauge configuration file, as many as its count, read as the window's
// Load reads them. Refused when the file cannot be read, does not parse or gives fewer
// angles than its count.
std::optional<std::vector<std::string>> LoadTable(const std::string& path, std::string* why);

// Whether two paths name the same file (both existing), or the same path.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace dialinputs
