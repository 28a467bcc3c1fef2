#include "kestran-dial/DialOptions.h"

#include <cmath>
#include <initializer_list>
#include <utility>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"
#include "common/ArgumentReader.h"

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

// The options that place and draw the needles, wherever a sheet is made.
bool ReadSheetOption(CArgumentReader& in, SSheetRequest& sheet) {
    if (in.Flag("--counter-clockwise")) {
        sheet.options.geometry.clockwise = false;
    } else if (auto scale = in.WholeNumber("--scale", 1, artwork::kMaxSheetScale)) {
        sheet.options.scale = static_cast<int>(*scale);
    } else if (auto text = in.Value("--pivot")) {
        const std::vector<std::string> xy = Split(*text, ',');
        const auto x = xy.size() == 2 ? ParseNumber(xy[0], false) : std::nullopt;
        const auto y = xy.size() == 2 ? ParseNumber(xy[1], false) : std::nullopt;
        if (!x || !y || *x > 16384 || *y > 16384)
            in.Refuse("--pivot takes X,Y in dial pixels, for instance 115,115, not \"" + *text +
                      "\"");
        sheet.pivotX = x;
        sheet.pivotY = y;
    } else if (auto zero = in.Value("--zero")) {
        const auto degrees = ParseNumber(*zero, true);
        if (!degrees || std::fabs(*degrees) > 360)
            in.Refuse("--zero takes degrees from -360 to 360, not \"" + *zero + "\"");
        sheet.options.geometry.zeroDegrees = degrees.value_or(0);
    } else {
        return false;
    }
    return true;
}

bool ReadPrepareOption(CArgumentReader& in, SPrepareCommand& c) {
    if (in.Flag("--circle")) {
        c.options.circle = true;
    } else if (in.Flag("--force")) {
        c.force = true;
    } else if (auto out = in.Value("-o")) {
        c.output = *out;
    } else if (auto fit = in.Value("--fit")) {
        if (*fit == "contain" || *fit == "cover")
            c.options.fit = *fit == "cover" ? artwork::EFit::Cover : artwork::EFit::Contain;
        else
            in.Refuse("--fit takes contain or cover, not \"" + *fit + "\"");
    } else if (auto crop = in.Value("--crop")) {
        c.options.crop = ParseCrop(*crop);
        if (!c.options.crop)
            in.Refuse("--crop takes X,Y,W,H in pixels of the picture, W and H above 0, not \"" +
                      *crop + "\"");
    } else if (auto diameter = in.Value("--circle-diameter")) {
        const auto d = ParseNumber(*diameter, false);
        if (!d || !(*d > 0) || *d > gauge::kDialSide)
            in.Refuse("--circle-diameter takes pixels above 0 and at most " +
                      std::to_string(gauge::kDialSide) + ", not \"" + *diameter + "\"");
        c.options.circle = true;
        c.options.circleDiameter = d;
    } else if (auto colour = in.Value("--background")) {
        c.options.background = ParseColour(*colour);
        if (!c.options.background)
            in.Refuse("--background takes a colour as RRGGBB, for instance FFFFFF, not \"" +
                      *colour + "\"");
    } else if (auto merge = in.WholeNumber("--merge", 0, 255)) {
        c.options.merge = static_cast<int>(*merge);
    } else if (auto file = in.Operand()) {
        if (!c.input.empty())
            in.Refuse("prepare takes one picture, not also " + *file);
        c.input = *file;
    } else {
        return false;
    }
    return true;
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

bool ReadTableOption(CArgumentReader& in, STableCommand& c) {
    if (in.Flag("--force")) {
        c.force = true;
    } else if (auto out = in.Value("-o")) {
        c.output = *out;
    } else if (auto mark = in.Value("--mark", CArgumentReader::ERepeat::Allowed)) {
        const auto parsed = ParseMark(*mark);
        if (!parsed)
            in.Refuse("--mark takes KNOTS:DEGREES, knots from 0 to 500 and degrees from 0 to " +
                      numtext::FormatG(gauge::kMaxWireAngle) + ", for instance 100:161, not \"" +
                      *mark + "\"");
        else
            c.marks.push_back(*parsed);
    } else if (auto max = in.WholeNumber("--max", 100, 500)) {
        if (*max % 10 != 0)
            in.Refuse("--max takes a speed from 100 to 500 knots in tens, not " +
                      std::to_string(*max));
        c.maxKnots = static_cast<int>(*max);
    } else if (auto files = in.Values("--preview", 2)) {
        c.previewDial = (*files)[0];
        c.previewSheet = (*files)[1];
    } else {
        return ReadSheetOption(in, c.sheet);
    }
    return true;
}

bool ReadPreviewOption(CArgumentReader& in, SPreviewCommand& c) {
    if (in.Flag("--force")) {
        c.force = true;
    } else if (auto out = in.Value("-o")) {
        c.output = *out;
    } else if (auto dial = in.Value("--dial")) {
        c.dial = *dial;
    } else if (auto table = in.Value("--table")) {
        c.table = *table;
    } else if (auto at = in.Value("--at")) {
        c.sheet.options.atKnots = ParseNumber(*at, false);
        if (!c.sheet.options.atKnots || *c.sheet.options.atKnots > 500)
            in.Refuse("--at takes a speed from 0 to 500 knots, not \"" + *at + "\"");
    } else {
        return ReadSheetOption(in, c.sheet);
    }
    return true;
}

bool ReadCostOption(CArgumentReader& in, SCostCommand& c) {
    if (auto table = in.Value("--table")) {
        c.table = *table;
    } else if (auto file = in.Operand()) {
        if (c.dials.size() == 2)
            in.Refuse("cost takes one or two dials, not also " + *file);
        c.dials.push_back(*file);
    } else {
        return false;
    }
    return true;
}

template <typename Command, typename Reader>
std::optional<Command> ReadCommand(CArgumentReader& in, Reader read, bool* help) {
    Command command;
    while (in.Next()) {
        if (in.Flag("--help") || in.Flag("-h"))
            *help = true;
        else if (!read(in, command))
            in.RefuseUnknown();
    }
    if (in.Failed())
        return std::nullopt;
    return command;
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
    return Missing({{c.marks.empty(), "--mark KNOTS:DEGREES"}, {c.output.empty(), "-o FILE.gac"}});
}

// Reads a command's options into `into`; answers the first of its required parts it lacks.
template <typename Command, typename Reader>
std::string ReadVerb(CArgumentReader& in, Reader read, std::optional<Command>& into, bool* help) {
    into = ReadCommand<Command>(in, read, help);
    return into ? MissingPart(*into) : std::string();
}

}  // namespace

std::optional<SDialCommand> ParseDialCommand(const std::vector<std::string>& args,
                                             std::string* error) {
    SDialCommand result;
    if (args.empty()) {
        *error = "a command or a picture is missing";
        return std::nullopt;
    }
    const std::string& verb = args[0];
    CArgumentReader in(std::vector<std::string>(args.begin() + 1, args.end()));
    std::string missing;
    if (verb == "--help" || verb == "-h") {
        result.help = true;
        return result;
    } else if (verb == "prepare") {
        missing = ReadVerb(in, ReadPrepareOption, result.prepare, &result.help);
    } else if (verb == "cost") {
        missing = ReadVerb(in, ReadCostOption, result.cost, &result.help);
    } else if (verb == "preview") {
        missing = ReadVerb(in, ReadPreviewOption, result.preview, &result.help);
    } else if (verb == "table") {
        missing = ReadVerb(in, ReadTableOption, result.table, &result.help);
    } else if (!verb.empty() && verb[0] != '-') {
        result.pictureAlone = SPictureAloneCommand{};
        for (const std::string& picture : args) {
            if (picture.empty() || picture[0] == '-') {
                *error = "pictures given alone take no options: " + picture;
                return std::nullopt;
            }
            result.pictureAlone->pictures.push_back(picture);
        }
        return result;
    } else {
        *error = "unknown option " + verb;
        return std::nullopt;
    }
    if (in.Failed()) {
        *error = in.Error();
        return std::nullopt;
    }
    if (result.help)
        return result;
    if (!missing.empty()) {
        *error = missing;
        return std::nullopt;
    }
    return result;
}
