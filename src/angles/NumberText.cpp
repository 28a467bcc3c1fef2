#include "angles/NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <system_error>

namespace numtext {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipSpace(std::string_view t) {
    size_t i = 0;
    while (i < t.size() && IsSpace(t[i]))
        ++i;
    return i;
}

// Steps over an optional sign at `i`; true when it was a minus.
bool SkipSign(std::string_view t, size_t& i) {
    if (i >= t.size() || (t[i] != '+' && t[i] != '-'))
        return false;
    return t[i++] == '-';
}

// Decimal exponent of the leading significant digit of digits "intPart.fracPart" times
// 10^exponent; only its sign matters (overflow or underflow).
long LeadingExponent(std::string_view intPart, std::string_view fracPart, long exponent) {
    size_t lead = 0;
    while (lead < intPart.size() && intPart[lead] == '0')
        ++lead;
    if (lead < intPart.size())
        return exponent + static_cast<long>(intPart.size() - lead) - 1;
    size_t zeros = 0;
    while (zeros < fracPart.size() && fracPart[zeros] == '0')
        ++zeros;
    return exponent - static_cast<long>(zeros) - 1;
}

std::string ToChars(double value, std::chars_format fmt, int precision) {
    // Large enough for any double in fixed form with up to a few hundred decimals.
    std::string buffer(static_cast<size_t>(340 + std::max(precision, 0)), '\0');
    auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, fmt, precision);
    if (ec != std::errc())
        return {};
    buffer.resize(static_cast<size_t>(end - buffer.data()));
    return buffer;
}

}  // namespace

double AtoF(std::string_view text) {
    size_t i = SkipSpace(text);
    const bool negative = SkipSign(text, i);
    const size_t intStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    std::string_view intPart = text.substr(intStart, i - intStart);
    std::string_view fracPart;
    if (i < text.size() && text[i] == '.') {
        const size_t fracStart = ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        fracPart = text.substr(fracStart, i - fracStart);
    }
    if (intPart.empty() && fracPart.empty())
        return 0.0;

    long exponent = 0;
    std::string_view expPart;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const size_t digitsStart = j;
        while (j < text.size() && IsDigit(text[j]))
            ++j;
        if (j > digitsStart) {
            expPart = text.substr(i, j - i);
            const bool expNegative = text[i + 1] == '-';
            long magnitude = 0;
            for (size_t d = digitsStart; d < j; ++d) {
                magnitude = std::min(magnitude * 10 + (text[d] - '0'), 100000000L);
            }
            exponent = expNegative ? -magnitude : magnitude;
        }
    }

    std::string normal(intPart.empty() ? std::string_view("0") : intPart);
    if (!fracPart.empty()) {
        normal += '.';
        normal += fracPart;
    }
    normal += expPart;

    double value = 0.0;
    auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        value = LeadingExponent(intPart, fracPart, exponent) > 0 ? HUGE_VAL : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

int AtoI(std::string_view text) {
    size_t i = SkipSpace(text);
    const bool negative = SkipSign(text, i);
    long long value = 0;
    while (i < text.size() && IsDigit(text[i])) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 40);
        ++i;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::string FormatFixed(double value, int decimals) {
    return ToChars(value, std::chars_format::fixed, decimals);
}

std::string FormatExp(double value, int decimals) {
    return ToChars(value, std::chars_format::scientific, decimals);
}

std::string FormatG(double value) {
    return ToChars(value, std::chars_format::general, 6);
}

}  // namespace numtext
