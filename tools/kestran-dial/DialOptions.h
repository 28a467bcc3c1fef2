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
    bool cropAuto = false;  // --crop auto: the dial's disc found in the picture
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

// A mark given as the point of the dial where it lies, in dial pixels.
struct SPointMark {
    double knots = 0;
    double x = 0;
    double y = 0;
};

struct STableCommand {
    std::vector<artwork::SMark> marks;
    std::vector<SPointMark> pointMarks;  // their angles read in the sheet's geometry
    std::string dial;  // the dial the points lie on, whose ticks they snap to; empty: none given
    bool snap = true;
    std::optional<int> maxKnots;
    std::string output;
    std::optional<std::string> previewDial;
    std::optional<std::string> previewSheet;
    SSheetRequest sheet;
    bool force = false;
};

// The ticks found on a dial, in the geometry given.
struct STicksCommand {
    std::string dial;
    SSheetRequest sheet;  // its geometry; the scale is not used
};

// No command, or --window: the dial workshop's window, with the picture opened in it.
struct SWindowCommand {
    std::optional<std::string> picture;
};

// Pictures given alone (dropped on the program): each prepared with the defaults.
struct SPictureAloneCommand {
    std::vector<std::string> pictures;
};

// One of kestran-dial's commands, as its arguments asked for it.
using DialCommand = std::variant<SPrepareCommand, SCostCommand, SPreviewCommand, STableCommand,
                                 SPictureAloneCommand, STicksCommand, SWindowCommand>;

struct SDialCommand {
    bool help = false;  // --help: the usage, and nothing else
    DialCommand command;
};

// Nothing, with the refusal in `error`, when the arguments do not make a command.
std::optional<SDialCommand> ParseDialCommand(const std::vector<std::string>& args,
                                             std::string* error);

// The --help text, made from the commands' and options' own definitions.
std::string DialUsage();
