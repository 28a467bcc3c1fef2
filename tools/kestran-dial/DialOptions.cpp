#include "kestran-dial/DialOptions.h"

#include <cmath>
#include <initializer_list>
#include <utility>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"
#include "common/OptionTable.h"

namespace {

// A decimal number with the full stop: optional minus, digits, at most one full stop.
std::optional<double> ParseNumber(const std::string& text, bool negativeAllowed) {
    std::string digits = text;
    if (negativeAllowed && !digits.empty() && digits[0] == '-')
        digits.erase(0, 1);
    if (digits.empty() || digits.size() > 12 || digits == "." ||
        digits.find_first_not_of("0123456789.") != std::string::npos ||
        digits.find('.') != digits.rfind('.'))
        return std::nullopt;
    return numtext::AtoF(text);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::optional<artwork::SRect> ParseCrop(const std::string& text) {
    const std::vector<std::string> parts = Split(text, ',');
    if (parts.size() != 4)
        return std::nullopt;
    int values[4];
    for (size_t i = 0; i < 4; ++i) {
        if (parts[i].empty() || parts[i].size() > 5 ||
            parts[i].find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        values[i] = std::stoi(parts[i]);
    }
    if (values[2] == 0 || values[3] == 0)
        return std::nullopt;
    return artwork::SRect{values[0], values[1], values[2], values[3]};
}

std::optional<std::array<uint8_t, 3>> ParseColour(std::string text) {
    if (!text.empty() && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    std::array<uint8_t, 3> rgb{};
    for (size_t i = 0; i < 3; ++i)
        rgb[i] = static_cast<uint8_t>(std::stoi(text.substr(2 * i, 2), nullptr, 16));
    return rgb;
}

std::optional<artwork::SMark> ParseMark(const std::string& text) {
    const std::vector<std::string> parts = Split(text, ':');
    if (parts.size() != 2)
        return std::nullopt;
    const auto knots = ParseNumber(parts[0], false);
    const auto degrees = ParseNumber(parts[1], false);
    if (!knots || !degrees || *knots > gauge::kKnotsPerEntry * gauge::kMaxEntries ||
        *degrees > gauge::kMaxWireAngle)
        return std::nullopt;
    return artwork::SMark{*knots, *degrees};
}

// KNOTS@X,Y
std::optional<SPointMark> ParsePointMark(const std::string& text) {
    const std::vector<std::string> parts = Split(text, '@');
    const std::vector<std::string> xy =
        parts.size() == 2 ? Split(parts[1], ',') : std::vector<std::string>{};
    if (xy.size() != 2)
        return std::nullopt;
    const auto knots = ParseNumber(parts[0], false);
    const auto x = ParseNumber(xy[0], false);
    const auto y = ParseNumber(xy[1], false);
    if (!knots || !x || !y || *knots > gauge::kKnotsPerEntry * gauge::kMaxEntries || *x > 16384 ||
        *y > 16384)
        return std::nullopt;
    return SPointMark{*knots, *x, *y};
}

using Values = OptionValues;
using Reader = CArgumentReader;

// The options that place the needle, wherever angles are drawn or read on a dial.
const std::vector<SOption<SSheetRequest>> kGeometryOptions = {
    {"--pivot", "X,Y",
     "the needle's pivot in dial pixels (default: the dial's centre,\n115,115 on a 230 x 230 "
     "dial)",
     [](SSheetRequest& s, const Values& v, Reader& in) {
         const std::vector<std::string> xy = Split(v[0], ',');
         const auto x = xy.size() == 2 ? ParseNumber(xy[0], false) : std::nullopt;
         const auto y = xy.size() == 2 ? ParseNumber(xy[1], false) : std::nullopt;
         if (!x || !y || *x > 16384 || *y > 16384)
             in.RefuseValue("X,Y in dial pixels, for instance 115,115", v[0]);
         s.pivotX = x;
         s.pivotY = y;
     }},
    {"--zero", "DEG",
     "where 0 degrees points, in degrees clockwise from straight up\n(default 0: straight up)",
     [](SSheetRequest& s, const Values& v, Reader& in) {
         const auto degrees = ParseNumber(v[0], true);
         if (!degrees || std::fabs(*degrees) > 360)
             in.RefuseValue("degrees from -360 to 360", v[0]);
         s.options.geometry.zeroDegrees = degrees.value_or(0);
     }},
    {"--at", "KNOTS", "also one full needle at this speed, linear between entries",
     [](SSheetRequest& s, const Values& v, Reader& in) {
         s.options.atKnots = ParseNumber(v[0], false);
         if (!s.options.atKnots || *s.options.atKnots > 500)
             in.RefuseValue("a speed from 0 to 500 knots", v[0]);
     }},
    {"--counter-clockwise", "", "angles grow counter-clockwise (default: clockwise)",
     [](SSheetRequest& s, const Values&, Reader&) { s.options.geometry.clockwise = false; }},
};

// The options that place and draw the needles, wherever a sheet is made.
const std::vector<SOption<SSheetRequest>> kSheetOptions = [] {
    std::vector<SOption<SSheetRequest>> options = {
        {"--scale", "N",
         "enlargement, 1 to " + std::to_string(artwork::kMaxSheetScale) + " (default " +
             std::to_string(artwork::SSheetOptions{}.scale) + ")",
         [](SSheetRequest& s, const Values& v, Reader& in) {
             if (const auto scale = in.WholeNumber(v[0], 1, artwork::kMaxSheetScale))
                 s.options.scale = static_cast<int>(*scale);
         }},
    };
    options.insert(options.end(), kGeometryOptions.begin(), kGeometryOptions.end());
    return options;
}();

const std::vector<SOption<SPrepareCommand>> kPrepareOptions = {
    {"-o", "FILE", "the dial to write",
     [](SPrepareCommand& c, const Values& v, Reader&) { c.output = v[0]; }},
    {"--fit", "contain|cover",
     "the whole picture inside the square with transparent margins\n(contain, the default), "
     "or the square filled and the overflow\ncropped (cover)",
     [](SPrepareCommand& c, const Values& v, Reader& in) {
         if (v[0] == "contain" || v[0] == "cover")
             c.options.fit = v[0] == "cover" ? artwork::EFit::Cover : artwork::EFit::Contain;
         else
             in.RefuseValue("contain or cover", v[0]);
     }},
    {"--crop", "X,Y,W,H|auto",
     "take this part of the picture, in its pixels, before fitting;\nauto: the square around the "
     "dial's disc, found in the picture\n(the largest round edge, or the opaque pixels' bounds)",
     [](SPrepareCommand& c, const Values& v, Reader& in) {
         c.cropAuto = v[0] == "auto";
         if (c.cropAuto)
             return;
         c.options.crop = ParseCrop(v[0]);
         if (!c.options.crop)
             in.RefuseValue("X,Y,W,H in pixels of the picture, W and H above 0, or auto", v[0]);
     }},
    {"--circle", "", "make what lies outside the inscribed circle transparent",
     [](SPrepareCommand& c, const Values&, Reader&) { c.options.circle = true; }},
    {"--circle-diameter", "D", "a smaller circle, D pixels across (implies --circle)",
     [](SPrepareCommand& c, const Values& v, Reader& in) {
         const auto d = ParseNumber(v[0], false);
         if (!d || !(*d > 0) || *d > gauge::kDialSide)
             in.RefuseValue("pixels above 0 and at most " + std::to_string(gauge::kDialSide), v[0]);
         c.options.circle = true;
         c.options.circleDiameter = d;
     }},
    {"--background", "RRGGBB", "lay the dial over this colour instead of keeping transparency",
     [](SPrepareCommand& c, const Values& v, Reader& in) {
         c.options.background = ParseColour(v[0]);
         if (!c.options.background)
             in.RefuseValue("a colour as RRGGBB, for instance FFFFFF", v[0]);
     }},
    {"--merge", "N",
     "a pixel within N levels in every channel of the pixel last sent\ntakes its value, so "
     "the upload sends fewer lines (off: 0)",
     [](SPrepareCommand& c, const Values& v, Reader& in) {
         if (const auto merge = in.WholeNumber(v[0], 0, 255))
             c.options.merge = static_cast<int>(*merge);
     }},
    {"--force", "", "write over the picture itself when -o names it",
     [](SPrepareCommand& c, const Values&, Reader&) { c.force = true; }},
};

const std::vector<SOption<SCostCommand>> kCostOptions = {
    {"--table", "FILE.gac", "the angle table that goes with the TAS dial",
     [](SCostCommand& c, const Values& v, Reader&) { c.table = v[0]; }},
};

const std::vector<SOption<SPreviewCommand>> kPreviewOptions = {
    {"--dial", "FILE", "the dial",
     [](SPreviewCommand& c, const Values& v, Reader&) { c.dial = v[0]; }},
    {"--table", "FILE.gac", "the table (default: the window's start-up table)",
     [](SPreviewCommand& c, const Values& v, Reader&) { c.table = v[0]; }},
    {"-o", "FILE", "the sheet to write",
     [](SPreviewCommand& c, const Values& v, Reader&) { c.output = v[0]; }},
    {"--force", "", "write over the dial itself when -o names it",
     [](SPreviewCommand& c, const Values&, Reader&) { c.force = true; }},
};

const std::vector<SOption<STableCommand>> kTableOptions = {
    {"--mark", "KNOTS:DEGREES|KNOTS@X,Y",
     "a needle angle read off the dial, or the point of the dial where\nthe mark lies (in dial "
     "pixels, its angle read from the pivot\nand the zero of --pivot, --zero and "
     "--counter-clockwise, as\npreview takes them, on the nearest tick within 3 degrees); give\n"
     "several",
     [](STableCommand& c, const Values& v, Reader& in) {
         if (v[0].find('@') != std::string::npos) {
             if (const auto point = ParsePointMark(v[0]))
                 c.pointMarks.push_back(*point);
             else
                 in.RefuseValue(
                     "KNOTS@X,Y, knots from 0 to 500 at a point of the dial in its "
                     "pixels, for instance 100@52,178",
                     v[0]);
             return;
         }
         const auto parsed = ParseMark(v[0]);
         if (!parsed)
             in.RefuseValue("KNOTS:DEGREES, knots from 0 to 500 and degrees from 0 to " +
                                numtext::FormatG(gauge::kMaxWireAngle) + ", for instance 100:161",
                            v[0]);
         else
             c.marks.push_back(*parsed);
     },
     true},
    {"--dial", "DIAL.png",
     "the dial the points of KNOTS@X,Y lie on, whose ticks they snap\nto (default: the dial of "
     "--preview)",
     [](STableCommand& c, const Values& v, Reader&) { c.dial = v[0]; }},
    {"--no-snap", "", "take the points of KNOTS@X,Y as they are, on a tick or not",
     [](STableCommand& c, const Values&, Reader&) { c.snap = false; }},
    {"--max", "KNOTS", "the maximum speed, 100 to 500 in tens (default: the highest mark)",
     [](STableCommand& c, const Values& v, Reader& in) {
         const auto max = in.WholeNumber(v[0], 100, 500);
         if (max && *max % gauge::kKnotsPerEntry != 0)
             in.Refuse("--max takes a speed from 100 to 500 knots in tens, not " +
                       std::to_string(*max));
         if (max)
             c.maxKnots = static_cast<int>(*max);
     }},
    {"-o", "FILE.gac", "the table to write, for the window's Load or kestran-upload",
     [](STableCommand& c, const Values& v, Reader&) { c.output = v[0]; }},
    {"--preview", "DIAL SHEET", "also draw the table's sheet on DIAL (with the options of preview)",
     [](STableCommand& c, const Values& v, Reader&) {
         c.previewDial = v[0];
         c.previewSheet = v[1];
     }},
    {"--force", "", "write over the dial itself when --preview names it as the sheet",
     [](STableCommand& c, const Values&, Reader&) { c.force = true; }},
};

constexpr size_t kHelpColumn = 23;

// A command's arguments: its own options, the sheet's where it draws one, its operands.
bool ReadArgument(Reader& in, SPrepareCommand& c) {
    if (ReadOption(in, kPrepareOptions, c))
        return true;
    const auto file = in.Operand();
    if (file && !c.input.empty())
        in.Refuse("prepare takes one picture, not also " + *file);
    if (file)
        c.input = *file;
    return file.has_value();
}
bool ReadArgument(Reader& in, SCostCommand& c) {
    if (ReadOption(in, kCostOptions, c))
        return true;
    const auto file = in.Operand();
    if (file && c.dials.size() == 2)
        in.Refuse("cost takes one or two dials, not also " + *file);
    if (file)
        c.dials.push_back(*file);
    return file.has_value();
}
bool ReadArgument(Reader& in, SPreviewCommand& c) {
    return ReadOption(in, kPreviewOptions, c) || ReadOption(in, kSheetOptions, c.sheet);
}
bool ReadArgument(Reader& in, STableCommand& c) {
    return ReadOption(in, kTableOptions, c) || ReadOption(in, kSheetOptions, c.sheet);
}
bool ReadArgument(Reader& in, STicksCommand& c) {
    if (ReadOption(in, kGeometryOptions, c.sheet))
        return true;
    const auto file = in.Operand();
    if (file && !c.dial.empty())
        in.Refuse("ticks takes one dial, not also " + *file);
    if (file)
        c.dial = *file;
    return file.has_value();
}

// The first of a command's required parts that is absent, as the message naming it; empty
// when none is.
std::string Missing(std::initializer_list<std::pair<bool, const char*>> parts) {
    for (const auto& [absent, what] : parts) {
        if (absent)
            return std::string(what) + " is missing";
    }
    return {};
}

std::string MissingPart(const SPrepareCommand& c) {
    return Missing({{c.input.empty(), "the picture to prepare"}, {c.output.empty(), "-o OUT.png"}});
}
std::string MissingPart(const SCostCommand& c) {
    return Missing({{c.dials.empty(), "the dial"}});
}
std::string MissingPart(const SPreviewCommand& c) {
    return Missing({{c.dial.empty(), "--dial DIAL.png"}, {c.output.empty(), "-o SHEET.png"}});
}
std::string MissingPart(const STableCommand& c) {
    return Missing({{c.marks.empty() && c.pointMarks.empty(), "--mark KNOTS:DEGREES"},
                    {c.output.empty(), "-o FILE.gac"}});
}
std::string MissingPart(const STicksCommand& c) {
    return Missing({{c.dial.empty(), "the dial"}});
}

// Reads a command's arguments; a refusal, or the first of its required parts it lacks,
// ends in nothing.
template <typename Command>
std::optional<SDialCommand> ReadCommand(Reader& in, std::string* error) {
    Command command;
    bool help = false;
    while (in.Next()) {
        if (in.Flag("--help") || in.Flag("-h"))
            help = true;
        else if (!ReadArgument(in, command))
            in.RefuseUnknown();
    }
    *error = in.Failed() ? in.Error() : help ? std::string() : MissingPart(command);
    if (!error->empty())
        return std::nullopt;
    // Built in place: through a temporary SDialCommand, GCC 12 warns (wrongly) that another
    // alternative's optional member may be read uninitialised.
    std::optional<SDialCommand> read(std::in_place);
    read->help = help;
    read->command.emplace<Command>(std::move(command));
    return read;
}

// The commands, as the usage lists them.
struct SVerb {
    const char* name;
    std::optional<SDialCommand> (*read)(Reader& in, std::string* error);
    const char* synopsis;
    const char* about;
    std::string (*options)();
};

const SVerb kVerbs[] = {
    {"prepare", ReadCommand<SPrepareCommand>, "prepare PICTURE -o DIAL.png [OPTION]...",
     "prepare: any PNG, JPEG, BMP, TIFF or WebP becomes a 230 x 230 PNG with alpha that\n"
     "Kestran takes.\n",
     [] { return OptionHelp(kPrepareOptions, kHelpColumn); }},
    {"cost", ReadCommand<SCostCommand>, "cost DIAL.png [DIAL2.png] [--table FILE.gac]",
     "cost: the lines and bytes an upload of the dials (and table) sends, and its time on the\n"
     "wire at 38400 baud 8E1 (11 bits a byte, both ways).\n",
     [] { return OptionHelp(kCostOptions, kHelpColumn); }},
    {"preview", ReadCommand<SPreviewCommand>,
     "preview --dial DIAL.png [--table FILE.gac] -o SHEET.png [OPTION]...",
     "preview: a calibration sheet, the dial enlarged with a thin needle line for every entry\n"
     "of the table, labelled in knots. Entries that fail the table's check are drawn in blue\n"
     "and listed.\n",
     [] {
         return OptionHelp(kPreviewOptions, kHelpColumn) + OptionHelp(kSheetOptions, kHelpColumn);
     }},
    {"table", ReadCommand<STableCommand>,
     "table --mark KNOTS:DEGREES... [--max KNOTS] -o FILE.gac [OPTION]...",
     "table: every 10-knot entry up to the maximum speed, by monotone piecewise-cubic\n"
     "interpolation through the marks (0 knots is 0 degrees unless a mark says otherwise).\n",
     [] { return OptionHelp(kTableOptions, kHelpColumn); }},
    {"ticks", ReadCommand<STicksCommand>,
     "ticks DIAL.png [--pivot X,Y] [--zero DEG] [--counter-clockwise]",
     "ticks: the ticks of the dial's scale (short radial strokes that stand out of the face),\n"
     "a line each: its angle in the geometry given, with one decimal, and whether it is long\n"
     "or short. The dial workshop snaps a click to them, and table a mark given as KNOTS@X,Y.\n",
     [] { return OptionHelp(kGeometryOptions, kHelpColumn); }},
};

}  // namespace

std::string DialUsage() {
    std::string usage;
    for (const SVerb& verb : kVerbs)
        usage += std::string(usage.empty() ? "Usage: " : "  or:  ") + "kestran-dial " +
                 verb.synopsis + "\n";
    usage +=
        "  or:  kestran-dial PICTURE...\n"
        "  or:  kestran-dial [--window [PICTURE]]\n"
        "Makes dials for the gauge out of artwork, draws the needle of an angle table on a dial,\n"
        "fills a table from a few marks, and tells an upload's time before it starts.\n";
    for (const SVerb& verb : kVerbs)
        usage += std::string("\n") + verb.about + verb.options();
    const char* const alone =
        "PICTURE alone: prepared with the defaults into PICTURE-dial.png beside it (never over a\n"
        "file: PICTURE-dial-2.png and so on), its sheet with the start-up table as\n"
        "PICTURE-dial-needles.png, and its cost printed.\n";
    const char* const window =
        "No command, or --window: the dial workshop, a window that makes a dial and a table\n"
        "from a picture by pointing and clicking (PICTURE opened in it): the disc found and\n"
        "corrected, the needle's rest and the marks clicked on the dial, each on its tick, and\n"
        "the dial, its table and its marks saved.\n";
    return usage + "\n" + alone + "\n" + window +
           "\nExit status: 0 done, 1 an output could not be written, 2 input refused (nothing "
           "written).\n";
}

std::optional<SDialCommand> ParseDialCommand(const std::vector<std::string>& args,
                                             std::string* error) {
    if (args.empty())
        return SDialCommand{false, SWindowCommand{}};
    const std::string& verb = args[0];
    if (verb == "--window") {
        if (args.size() > 2 || (args.size() == 2 && (args[1].empty() || args[1][0] == '-'))) {
            *error = "--window takes one picture to open, or none";
            return std::nullopt;
        }
        return SDialCommand{
            false, SWindowCommand{args.size() == 2 ? std::optional(args[1]) : std::nullopt}};
    }
    if (verb == "--help" || verb == "-h")
        return SDialCommand{true, {}};
    for (const SVerb& known : kVerbs) {
        if (verb == known.name) {
            CArgumentReader in(std::vector<std::string>(args.begin() + 1, args.end()));
            return known.read(in, error);
        }
    }
    if (verb.empty() || verb[0] == '-') {
        *error = "unknown option " + verb;
        return std::nullopt;
    }
    SPictureAloneCommand alone;
    for (const std::string& picture : args) {
        if (picture.empty() || picture[0] == '-') {
            *error = "pictures given alone take no options: " + picture;
            return std::nullopt;
        }
        alone.pictures.push_back(picture);
    }
    return SDialCommand{false, std::move(alone)};
}
