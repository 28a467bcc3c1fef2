#include "angles/GacFields.h"

namespace gacfile {

std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (start < line.size()) {
        size_t end = line.find('|', start);
        if (end == std::string_view::npos)
            end = line.size();
        if (end > start)
            fields.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

}  // namespace gacfile
