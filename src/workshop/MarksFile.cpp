#include "workshop/MarksFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <vector>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"
#include "base/Utf8Path.h"

namespace workshop {
namespace {

constexpr const char* kHeading = "Kestran dial marks";
// Far more than any calibration: a larger file is not one.
constexpr size_t kMaxBytes = 64 * 1024;
// Positions beyond the largest picture the workshop opens are not positions.
constexpr double kFarthest = 1e6;

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::optional<double> Number(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (error != std::errc() || at != end || !std::isfinite(value) || std::fabs(value) > kFarthest)
        return std::nullopt;
    return value;
}

std::string Fixed(double value) {
    return numtext::FormatFixed(value, 3);
}

}  // namespace

std::string MarksPathBeside(const std::string& dialPath) {
    std::filesystem::path path = utf8path::ToPath(dialPath);
    path.replace_extension(".marks");
    return utf8path::FromPath(path);
}

std::string TablePathBeside(const std::string& dialPath) {
    std::filesystem::path path = utf8path::ToPath(dialPath);
    path.replace_extension(".gac");
    return utf8path::FromPath(path);
}

std::string MarksText(const SCalibration& c) {
    std::string text = std::string(kHeading) + "\n";
    text += "pivot " + Fixed(c.geometry.pivotX) + " " + Fixed(c.geometry.pivotY) + "\n";
    if (c.restSet)
        text += "rest " + Fixed(c.geometry.zeroDegrees) + "\n";
    text +=
        std::string("turns ") + (c.geometry.clockwise ? "clockwise" : "counter-clockwise") + "\n";
    if (c.maxKnots)
        text += "max " + std::to_string(*c.maxKnots) + "\n";
    for (const SWorkshopMark& m : c.marks) {
        text += "mark " + numtext::FormatG(m.knots) + " " + Fixed(m.at.x) + " " + Fixed(m.at.y) +
                (m.snapped ? " tick" : " point") + "\n";
    }
    return text;
}

std::optional<SCalibration> ParseMarks(std::string_view text, std::string* why) {
    std::istringstream in{std::string(text)};
    std::string line;
    int number = 0;
    const auto fault = [&](const std::string& what) {
        *why = "line " + std::to_string(number) + ": " + what;
        return std::nullopt;
    };
    ++number;
    if (!std::getline(in, line) || Words(line) != Words(kHeading))
        return fault("not a file of dial marks (it begins with \"" + std::string(kHeading) + "\")");
    SCalibration c;
    while (std::getline(in, line)) {
        ++number;
        const std::vector<std::string> w = Words(line);
        if (w.empty())
            continue;
        if (w[0] == "pivot") {
            const auto x = w.size() == 3 ? Number(w[1]) : std::nullopt;
            const auto y = w.size() == 3 ? Number(w[2]) : std::nullopt;
            if (!x || !y)
                return fault("the pivot takes two numbers");
            c.geometry.pivotX = *x;
            c.geometry.pivotY = *y;
        } else if (w[0] == "rest") {
            const auto degrees = w.size() == 2 ? Number(w[1]) : std::nullopt;
            if (!degrees || *degrees < 0 || *degrees >= 360)
                return fault("the rest takes degrees from 0 to below 360");
            c.geometry.zeroDegrees = *degrees;
            c.restSet = true;
        } else if (w[0] == "turns" && w.size() == 2 &&
                   (w[1] == "clockwise" || w[1] == "counter-clockwise")) {
            c.geometry.clockwise = w[1] == "clockwise";
        } else if (w[0] == "max") {
            const auto knots = w.size() == 2 ? Number(w[1]) : std::nullopt;
            if (!knots || *knots != std::floor(*knots) ||
                static_cast<int>(*knots) % gauge::kKnotsPerEntry != 0 ||
                *knots < gauge::kKnotsPerEntry * gauge::kMinEntries ||
                *knots > gauge::kKnotsPerEntry * gauge::kMaxEntries)
                return fault("the max speed takes 100 to 500 knots in tens");
            c.maxKnots = static_cast<int>(*knots);
        } else if (w[0] == "mark") {
            const bool five = w.size() == 5 && (w[4] == "tick" || w[4] == "point");
            const auto knots = five ? Number(w[1]) : std::nullopt;
            const auto x = five ? Number(w[2]) : std::nullopt;
            const auto y = five ? Number(w[3]) : std::nullopt;
            if (!knots || !x || !y || *knots < 0 ||
                *knots > gauge::kKnotsPerEntry * gauge::kMaxEntries)
                return fault("a mark takes its speed (0 to 500 knots) and its place");
            PutMark(c.marks, {*knots, {*x, *y}, w[4] == "tick"});
        } else {
            return fault("not understood: " + line);
        }
    }
    return c;
}

std::optional<SCalibration> ReadMarksBeside(const std::string& dialPath, std::string* why) {
    why->clear();
    const std::string path = MarksPathBeside(dialPath);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(utf8path::Open(path, "rb"),
                                                               &std::fclose);
    if (!file)
        return std::nullopt;
    std::string text(kMaxBytes + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    if (text.size() > kMaxBytes || std::ferror(file.get())) {
        *why = path + ": not a file of dial marks";
        return std::nullopt;
    }
    std::optional<SCalibration> calibration = ParseMarks(text, why);
    if (!calibration)
        *why = path + ": " + *why;
    return calibration;
}

}  // namespace workshop
