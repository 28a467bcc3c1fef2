#pragma once

#include <string>
#include <vector>

// One entry of a file dialog's type list: the name shown and the patterns it matches.
struct SFileFilter {
    std::string name;
    std::vector<std::string> patterns;  // "*.png", "*.*"; none when the entry gave none
};

// Splits a file dialog filter of the form "Name|pattern;pattern|Name|pattern||" into its
// entries. The list ends at the first empty name or at a name without a pattern field;
// patterns are trimmed and empty ones dropped. Every window system's file dialog takes the
// list in its own form from here.
std::vector<SFileFilter> ParseFileFilter(const std::string& filter);
