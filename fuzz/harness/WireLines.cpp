#include "harness/WireLines.h"

#include <cstddef>

namespace wirecheck {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;  // lower case is not what the tool sends
}

// Reads `count` upper-case hexadecimal digits at `at`; -1 when any is not one.
int Hex(const std::string& text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = 0; i < count; ++i) {
        const int digit = HexDigit(text[at + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool ParsePixel(const std::string& body, SLine& line) {
    size_t at = 0;
    const size_t bar = body.find('|');
    if (bar != std::string::npos) {
        // A decimal count of 1 or more, without sign or leading zeros.
        if (bar == 0 || bar > 9 || body[0] == '0')
            return false;
        long long count = 0;
        for (size_t i = 0; i < bar; ++i) {
            if (body[i] < '0' || body[i] > '9')
                return false;
            count = count * 10 + (body[i] - '0');
        }
        line.runCount = static_cast<int>(count);
        at = bar + 1;
    }
    if (body.size() - at != 8)
        return false;
    const int transparency = Hex(body, at, 2);
    const int blue = Hex(body, at + 2, 2);
    const int green = Hex(body, at + 4, 2);
    const int red = Hex(body, at + 6, 2);
    if (transparency < 0 || blue < 0 || green < 0 || red < 0)
        return false;
    line.kind = ELineKind::Pixel;
    line.bgra[0] = static_cast<uint8_t>(blue);
    line.bgra[1] = static_cast<uint8_t>(green);
    line.bgra[2] = static_cast<uint8_t>(red);
    line.bgra[3] = static_cast<uint8_t>(255 - transparency);
    return true;
}

bool ParseTable(const std::string& body, SLine& line) {
    if (body.size() < 2)
        return false;
    const int n = Hex(body, 0, 2);
    if (n < 0 || body.size() != 2 + 3 * static_cast<size_t>(n))
        return false;
    line.kind = ELineKind::Table;
    for (int k = 0; k < n; ++k) {
        const int tenths = Hex(body, 2 + 3 * static_cast<size_t>(k), 3);
        if (tenths < 0)
            return false;
        line.tenths.push_back(tenths);
    }
    return true;
}

}  // namespace

std::optional<SLine> Parse(const std::string& text) {
    if (text.size() < 3 || text.compare(text.size() - 2, 2, "\r\n") != 0)
        return std::nullopt;
    const std::string body = text.substr(0, text.size() - 2);
    SLine line;
    if (body == "CON" || body == "END" || body == "ERR") {
        line.kind = body == "CON"   ? ELineKind::Continue
                    : body == "END" ? ELineKind::End
                                    : ELineKind::Error;
        return line;
    }
    if (body.size() == 7 && body.compare(0, 5, "LOAD=") == 0) {
        if (body[5] < '1' || body[5] > '3' || body[6] < '0' || body[6] > '2')
            return std::nullopt;
        line.kind = ELineKind::Load;
        line.stage = body[5] - '0';
        line.dialCount = body[6] - '0';
        return line;
    }
    // Eight digits read as a plain pixel line; a table of two entries would look the same,
    // but the table always has 10 or more.
    if (body.size() == 8 || body.find('|') != std::string::npos) {
        if (ParsePixel(body, line))
            return line;
        return std::nullopt;
    }
    if (ParseTable(body, line))
        return line;
    return std::nullopt;
}

}  // namespace wirecheck
