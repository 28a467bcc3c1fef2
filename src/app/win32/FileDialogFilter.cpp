#include "app/win32/FileDialogFilter.h"

#include "host/FileFilterList.h"
#include "platform/win32/WinText.h"

std::wstring ToWindowsFilter(const std::string& filter) {
    std::wstring out;
    for (const SFileFilter& entry : ParseFileFilter(filter)) {
        std::string patterns;
        for (const std::string& pattern : entry.patterns)
            patterns += (patterns.empty() ? "" : ";") + pattern;
        out += wintext::Wide(entry.name) + L'\0' +
               wintext::Wide(patterns.empty() ? "*.*" : patterns) + L'\0';
    }
    // An empty list is no filter at all (the caller passes none), not a lone terminator.
    if (!out.empty())
        out += L'\0';
    return out;
}
