#pragma once

#include <string>

// Whether a port name matches a pattern in which "*" stands for any run of characters and
// "?" for any one, letters compared without regard to case: "/dev/ttyUSB*", "COM*".
bool MatchesPortPattern(const std::string& pattern, const std::string& name);
