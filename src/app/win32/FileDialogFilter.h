#pragma once

#include <string>

// Turns a file dialog filter of the form "Name|pattern;pattern|Name|pattern||" into the
// common dialog's form: each name and its patterns ended by a zero character, the whole
// list by one more. An entry without patterns matches every file.
std::wstring ToWindowsFilter(const std::string& filter);
