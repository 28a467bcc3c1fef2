#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/ArgumentReader.h"

// A tool's options, each defined once: its name, what it takes, its help and what it does.
// The parser and the usage text are both made from the table, so that no option is written
// in two places. The words of `argument` say how many values an option takes ("--preview
// DIAL SHEET" takes two); an option without help is not listed (an alias such as -h).
using OptionValues = std::vector<std::string>;

template <class Options>
struct SOption {
    using Apply = void (*)(Options& options, const OptionValues& values, CArgumentReader& in);
    std::string name;
    std::string argument;  // empty for a flag
    std::string help;      // '\n' goes on beneath, aligned; empty: not listed
    Apply apply;
    bool repeats = false;
};

// Reads the current argument when one of the table's options claims it; false when none
// does (then the argument is the caller's: an operand, or a refusal).
template <class Options>
bool ReadOption(CArgumentReader& in, const std::vector<SOption<Options>>& table, Options& options) {
    for (const SOption<Options>& option : table) {
        if (option.argument.empty()) {
            if (in.Flag(option.name)) {
                option.apply(options, {}, in);
                return true;
            }
            continue;
        }
        const size_t count = 1 + static_cast<size_t>(std::count(option.argument.begin(),
                                                                option.argument.end(), ' '));
        std::optional<OptionValues> values;
        if (count == 1) {
            if (auto value =
                    in.Value(option.name, option.repeats ? CArgumentReader::ERepeat::Allowed
                                                         : CArgumentReader::ERepeat::Once))
                values = OptionValues{*value};
        } else {
            values = in.Values(option.name, count);
        }
        if (values) {
            option.apply(options, *values, in);
            return true;
        }
    }
    return false;
}

// The table as the usage text lists it: each option with its argument, and its help from
// `column` on.
template <class Options>
std::string OptionHelp(const std::vector<SOption<Options>>& table, size_t column) {
    std::string text;
    for (const SOption<Options>& option : table) {
        if (option.help.empty())
            continue;
        std::string line =
            "  " + option.name + (option.argument.empty() ? "" : " " + option.argument);
        line += line.size() + 1 > column ? "\n" + std::string(column, ' ')
                                         : std::string(column - line.size(), ' ');
        for (const char c : option.help)
            line += c == '\n' ? "\n" + std::string(column, ' ') : std::string(1, c);
        text += line + "\n";
    }
    return text;
}
