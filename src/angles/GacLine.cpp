#include "angles/GacLine.h"

#include <cmath>

#include "angles/GacFields.h"
#include "angles/NumberText.h"
#include "angles/TextFile.h"
#include "base/GaugeFacts.h"

namespace gacfile {

std::optional<std::string> BuildLine(const std::vector<double>& angles, int* badEntry) {
    if (badEntry != nullptr)
        *badEntry = 0;
    std::string line = std::to_string(angles.size());
    for (size_t i = 0; i < angles.size(); ++i) {
        const std::string field = "|" + numtext::FormatFixed(angles[i], 1);
        // A line that loading could not read back in full would lose the table's end.
        if (!std::isfinite(angles[i]) || line.size() + field.size() > kMaxLineChars) {
            if (badEntry != nullptr)
                *badEntry = static_cast<int>(i) + 1;
            return std::nullopt;
        }
        line += field;
    }
    return line;
}

std::optional<SGacTable> ParseLine(std::string_view line) {
    std::vector<std::string> fields = SplitFields(line);
    const int n = fields.empty() ? 0 : numtext::AtoI(fields[0]);
    if (n < gauge::kMinEntries || n > gauge::kMaxEntries)
        return std::nullopt;
    SGacTable table;
    table.count = n;
    for (size_t k = 1; k < fields.size() && k <= static_cast<size_t>(gauge::kMaxEntries); ++k)
        table.angles.push_back(std::move(fields[k]));
    return table;
}

std::optional<SGacTable> ReadTable(const std::string& path, std::string* refusal) {
    std::string line;
    switch (textfile::ReadFirstLine(path, gacfile::kMaxLineChars, line)) {
        case textfile::EReadResult::Ok:
            break;
        case textfile::EReadResult::OpenFailed:
            *refusal = "Error open file.";
            return std::nullopt;
        case textfile::EReadResult::ReadFailed:
            *refusal = "Error reading file.";
            return std::nullopt;
    }
    std::optional<SGacTable> table = ParseLine(line);
    if (!table)
        *refusal = kNotATable;
    return table;
}

}  // namespace gacfile
