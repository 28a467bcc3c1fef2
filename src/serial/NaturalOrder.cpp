#include "serial/NaturalOrder.h"

#include <cctype>

namespace naturalorder {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

bool Less(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Compare the two numbers by value: leading zeros aside, the longer is larger.
            size_t iEnd = i, jEnd = j;
            while (iEnd < a.size() && IsDigit(a[iEnd]))
                ++iEnd;
            while (jEnd < b.size() && IsDigit(b[jEnd]))
                ++jEnd;
            size_t iStart = i, jStart = j;
            while (iStart + 1 < iEnd && a[iStart] == '0')
                ++iStart;
            while (jStart + 1 < jEnd && b[jStart] == '0')
                ++jStart;
            const std::string x = a.substr(iStart, iEnd - iStart);
            const std::string y = b.substr(jStart, jEnd - jStart);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (x != y)
                return x < y;
            i = iEnd;
            j = jEnd;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace naturalorder
