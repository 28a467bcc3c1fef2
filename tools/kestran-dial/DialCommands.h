#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kestran-dial/DialOptions.h"

// What a command says: the results on standard output, the refusals and failures on
// standard error.
struct SDialReport {
    std::string out;
    std::string err;
};

enum class EDialExit { Done = 0, WriteFailed = 1, Refused = 2 };

// Runs one command. A refused input leaves every output untouched.
EDialExit RunDialCommand(const SDialCommand& command, SDialReport& report);

// The commands one by one.
namespace dialcommands {
EDialExit Prepare(const SPrepareCommand& command, SDialReport& report);
EDialExit Cost(const SCostCommand& command, SDialReport& report);
EDialExit Preview(const SPreviewCommand& command, SDialReport& report);
EDialExit Table(const STableCommand& command, SDialReport& report);
EDialExit PictureAlone(const SPictureAloneCommand& command, SDialReport& report);
EDialExit Ticks(const STicksCommand& command, SDialReport& report);

// The angles of the marks a table command gives as points, with a line saying how each was
// read; nothing, with the refusal, when the dial they snap to is missing or unreadable.
std::optional<std::vector<artwork::SMark>> PointMarkAngles(const STableCommand& command,
                                                           std::vector<std::string>& said,
                                                           std::string* why);

// Where a picture given alone goes: PICTURE-dial.png beside it and its sheet
// PICTURE-dial-needles.png, numbered -2, -3 ... until neither exists.
struct SBesideNames {
    std::string dial;
    std::string sheet;
};
SBesideNames NamesBeside(const std::string& picture);
}  // namespace dialcommands
