#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "artwork/MonotoneTable.h"
#include "artwork/NeedleSheet.h"
#include "artwork/PrepareDial.h"

// What each of kestran-dial's commands was asked to do, read from its arguments.
struct SPrepareCommand {
    std::string input;
    std::string output;
    artwork::SPrepareOptions options;
    bool force = false;
};

struct SCostCommand {
    std::vector<std::string> dials;  // one or two: IAS before TAS
    std::optional<std::string> table;
};

// The sheet's geometry and look, shared by preview and table --preview.
struct SSheetRequest {
    artwork::SSheetOptions options;
    std::optional<double> pivotX;  // the dial's centre when not given
    std::optional<double> pivotY;
};

struct SPreviewCommand {
    std::string dial;
    std::optional<std::string> table;
    std::string output;
    SSheetRequest sheet;
    bool force = false;
};

struct STableCommand {
    std::vector<artwork::SMark> marks;
    std::optional<int> maxKnots;
    std::string output;
    std::optional<std::string> previewDial;
    std::optional<std::string> previewSheet;
    SSheetRequest sheet;
    bool force = false;
};

// Pictures given alone (dropped on the program): each prepared with the defaults.
struct SPictureAloneCommand {
    std::vector<std::string> pictures;
};

// One of kestran-dial's commands, as its arguments asked for it.
using DialCommand = std::variant<SPrepareCommand, SCostCommand, SPreviewCommand, STableCommand,
                                 SPictureAloneCommand>;

struct SDialCommand {
    bool help = false;  // --help: the usage, and nothing else
    DialCommand command;
};

// Nothing, with the refusal in `error`, when the arguments do not make a command.
std::optional<SDialCommand> ParseDialCommand(const std::vector<std::string>& args,
                                             std::string* error);

// The --help text, made from the commands' and options' own definitions.
std::string DialUsage();
