#pragma once

#include <string>

namespace naturalorder {

// Orders names as a person would: ttyUSB2 before ttyUSB10, pts/9 before pts/10.
bool Less(const std::string& a, const std::string& b);

}  // namespace naturalorder
