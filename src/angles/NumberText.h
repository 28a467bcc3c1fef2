#pragma once

#include <string>
#include <string_view>

// Number <-> text conversions as the C library does them in the "C" locale, whatever
// locale the process runs in: the decimal separator is always the full stop.
namespace numtext {

// atof: skips leading white space, then reads the longest prefix that is a decimal number
// (optional sign, digits, optional fraction after '.', optional exponent). Text without
// such a prefix gives 0.0. Hexadecimal, "inf" and "nan" are not numbers here.
double AtoF(std::string_view text);

// atoi: leading white space, optional sign, decimal digits; stops at the first other
// character; 0 without digits. Values beyond int are clamped.
int AtoI(std::string_view text);

// printf("%.*f", decimals, v)
std::string FormatFixed(double value, int decimals);
// printf("%.*e", decimals, v)
std::string FormatExp(double value, int decimals);
// printf("%g", v)
std::string FormatG(double value);

}  // namespace numtext
