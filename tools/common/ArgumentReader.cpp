#include "common/ArgumentReader.h"

#include <utility>

CArgumentReader::CArgumentReader(std::vector<std::string> args) : m_args(std::move(args)) {}

bool CArgumentReader::Next() {
    if (Failed() || m_next >= m_args.size())
        return false;
    m_current = m_args[m_next++];
    m_claimed = false;
    return true;
}

bool CArgumentReader::Is(const std::string& name) const {
    return !Failed() && !m_claimed && m_current == name;
}

bool CArgumentReader::Flag(const std::string& name) {
    if (!Is(name))
        return false;
    m_claimed = true;
    return true;
}

std::optional<std::string> CArgumentReader::Value(const std::string& name, ERepeat repeat) {
    if (!Is(name))
        return std::nullopt;
    m_claimed = true;
    if (repeat == ERepeat::Once && !m_given.insert(name).second) {
        Refuse(name + " given twice");
        return std::nullopt;
    }
    return TakeValue(name);
}

std::optional<std::vector<std::string>> CArgumentReader::Values(const std::string& name,
                                                                size_t count) {
    const std::optional<std::string> first = Value(name);
    if (!first)
        return std::nullopt;
    std::vector<std::string> values{*first};
    while (values.size() < count) {
        const std::optional<std::string> next = TakeValue(name);
        if (!next)
            return std::nullopt;
        values.push_back(*next);
    }
    return values;
}

std::optional<std::string> CArgumentReader::TakeValue(const std::string& name) {
    if (m_next >= m_args.size() || m_args[m_next].empty() || m_args[m_next].rfind("--", 0) == 0) {
        Refuse("the value of " + name + " is missing");
        return std::nullopt;
    }
    return m_args[m_next++];
}

std::optional<std::string> CArgumentReader::Operand() {
    if (Failed() || m_claimed || m_current.empty() || m_current[0] == '-')
        return std::nullopt;
    m_claimed = true;
    return m_current;
}

std::optional<long long> CArgumentReader::WholeNumber(const std::string& text, long long min,
                                                      long long max) {
    // At most nine digits, so the number always fits and no sign or space slips through.
    if (!text.empty() && text.size() <= 9 &&
        text.find_first_not_of("0123456789") == std::string::npos) {
        const long long number = std::stoll(text);
        if (number >= min && number <= max)
            return number;
    }
    std::string range = "from " + std::to_string(min);
    if (max != 999999999)
        range += " to " + std::to_string(max);
    RefuseValue("a whole number " + range, text);
    return std::nullopt;
}

void CArgumentReader::RefuseUnknown() {
    if (!Failed() && !m_claimed)
        Refuse("unknown option " + m_current);
}

void CArgumentReader::RefuseValue(const std::string& takes, const std::string& value) {
    Refuse(m_current + " takes " + takes + ", not \"" + value + "\"");
}

void CArgumentReader::Refuse(const std::string& why) {
    if (!Failed())
        m_error = why;
    m_claimed = true;
}
