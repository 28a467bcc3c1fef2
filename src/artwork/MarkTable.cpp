#include "artwork/MarkTable.h"

#include "angles/GacLine.h"
#include "angles/NumberText.h"
#include "angles/Plausibility.h"

namespace artwork {

std::optional<SMarkTable> FillMarkTable(const std::vector<SMark>& ordered, int maxKnots) {
    const std::optional<std::string> line = gacfile::BuildLine(FillTable(ordered, maxKnots));
    const auto parsed = line ? gacfile::ParseLine(*line) : std::nullopt;
    if (!parsed)
        return std::nullopt;
    SMarkTable table;
    table.line = *line;
    table.entries = parsed->angles;
    for (const std::string& text : table.entries)
        table.angles.push_back(numtext::AtoF(text));
    table.firstFailing = plausibility::FirstFailingEntry(table.angles);
    return table;
}

}  // namespace artwork
