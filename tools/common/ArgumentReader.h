#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

// Walks a tool's arguments one option at a time, with the same rules for every tool: an
// option's value is the next argument, unless there is none, it is empty or it is an option
// itself; an option that takes a value may be given once unless it is meant to repeat; an
// argument no option claims is refused. An operand (an argument that does not begin with
// "-") is taken only where the tool asks for one. The first refusal ends the walk and is kept as
// the text to show.
//
//     CArgumentReader in(args);
//     while (in.Next()) {
//         if (in.Flag("--force")) force = true;
//         else if (auto path = in.Value("--port")) port = *path;
//         else in.RefuseUnknown();
//     }
//     if (in.Failed()) ... in.Error() ...
class CArgumentReader {
public:
    enum class ERepeat { Once, Allowed };

    explicit CArgumentReader(std::vector<std::string> args);

    // Moves to the next argument. False at the end and after a refusal.
    bool Next();

    // True when the current argument is the flag `name` (a flag may be repeated).
    bool Flag(const std::string& name);
    // The value of option `name` when it is the current argument; nothing otherwise, and
    // nothing with a refusal when the value is missing or the option was given before.
    std::optional<std::string> Value(const std::string& name, ERepeat repeat = ERepeat::Once);
    // The `count` values of option `name`, as Value() reads one.
    std::optional<std::vector<std::string>> Values(const std::string& name, size_t count);
    // The current argument when it is not an option (a file a command works on), claimed.
    std::optional<std::string> Operand();
    // The value `text` of the current option as a whole decimal number from `min` to `max`;
    // refused otherwise.
    std::optional<long long> WholeNumber(const std::string& text, long long min,
                                         long long max = 999999999);
    // No option claimed the current argument.
    void RefuseUnknown();
    // Refuses with a text of the caller's own (a value that does not make sense).
    void Refuse(const std::string& why);
    // Refuses the current option's `value`: "--option takes <what it takes>, not "value"".
    void RefuseValue(const std::string& takes, const std::string& value);

    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }

private:
    bool Is(const std::string& name) const;
    std::optional<std::string> TakeValue(const std::string& name);

    std::vector<std::string> m_args;
    size_t m_next = 0;
    std::string m_current;
    bool m_claimed = true;
    std::set<std::string> m_given;
    std::string m_error;
};
