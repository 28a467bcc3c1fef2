#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Building and reading the one line of a gauge configuration file.
namespace gacfile {

// The line saving writes: the count, then "|" and each angle with one decimal. Nothing
// when an angle is not finite or the line would grow past what loading reads back; then
// *badEntry (when given) is that entry (1 = 10 knots).
std::optional<std::string> BuildLine(const std::vector<double>& angles, int* badEntry = nullptr);

// A line as loading reads it: the entry count and the angle fields as texts, unconverted.
struct SGacTable {
    int count = 0;
    std::vector<std::string> angles;  // at most 50; further fields have nowhere to go
};
// Nothing when the line does not begin with an entry count from 10 to 50.
std::optional<SGacTable> ParseLine(std::string_view line);

// The line of the file at `path`, read as loading reads it; nothing with what loading says
// ("Error open file.", "Error reading file.", kNotATable) in `refusal`.
std::optional<SGacTable> ReadTable(const std::string& path, std::string* refusal);

// What loading says of a line that ParseLine refuses.
inline const char* const kNotATable =
    "Not a gauge configuration file: it must begin with an entry count from 10 to 50.";

}  // namespace gacfile
