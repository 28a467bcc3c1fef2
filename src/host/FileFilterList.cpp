#include "host/FileFilterList.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<SFileFilter> ParseFileFilter(const std::string& filter) {
    const std::vector<std::string> parts = Split(filter, '|');
    std::vector<SFileFilter> entries;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty())
            break;
        SFileFilter entry{parts[i], {}};
        for (const std::string& pattern : Split(parts[i + 1], ';')) {
            std::string trimmed = Trimmed(pattern);
            if (!trimmed.empty())
                entry.patterns.push_back(std::move(trimmed));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}
