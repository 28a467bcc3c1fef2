#include "harness/TableCase.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "angles/CNumSpinCtrl.h"
#include "angles/NumberText.h"
#include "dialog/HeadlessHost.h"
#include "harness/FuzzCheck.h"
#include "harness/WireLines.h"
#include "res/ControlIds.h"
#include "upload/WireFormat.h"

namespace fuzzcase {
namespace {

constexpr size_t kLineBuffer = 256;  // the line must fit the tool's line buffer with its zero

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start < line.size()) {
        const size_t end = std::min(line.find(' ', start), line.size());
        if (end > start)
            words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// Whether the whole text is one decimal number as the spin control writes it:
// "-"? digits ("." digits)? ("e" sign digits)?
bool IsWholeNumber(const std::string& text) {
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    auto digits = [&] {
        const size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i > from;
    };
    if (!digits())
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < text.size() && text[i] == 'e') {
        ++i;
        if (i >= text.size() || (text[i] != '+' && text[i] != '-'))
            return false;
        ++i;
        if (!digits())
            return false;
    }
    return i == text.size();
}

// How far the text of a value may be from it: half a unit of the last digit shown.
double FormatTolerance(double value, int decimals) {
    const double magnitude = std::fabs(value);
    const double representation = magnitude * 4e-16 + 1e-300;
    const bool exponential = numtext::FormatG(value).find('e') != std::string::npos;
    if (decimals < 0)
        return magnitude * 5e-6 + representation;  // six significant digits
    if (exponential)
        return magnitude * 0.5 * std::pow(10.0, -decimals) + representation;
    return 0.5 * std::pow(10.0, -decimals) + representation;
}

void CheckTableLine(int n, const std::vector<std::string>& texts) {
    auto text = [&texts](int k) {
        return static_cast<size_t>(k) < texts.size() ? texts[static_cast<size_t>(k)] : "";
    };
    int badEntry = -1;
    const std::optional<std::string> line = wire::AngleTableLine(n, text, &badEntry);
    if (!line) {
        if (n < 0 || n > ids::kEntryCount) {
            FuzzCheck(badEntry == 0, "a refused count names an entry");
            return;
        }
        FuzzCheck(badEntry >= 1 && badEntry <= n, "a refused table names no entry of it");
        const double angle = numtext::AtoF(text(badEntry));
        FuzzCheck(!(angle >= 0.0 && angle * 10.0 + 0.5 < 4096.0),
                  [&] { return "an angle that fits three digits was refused: " + text(badEntry); });
        return;
    }
    FuzzCheck(n >= 0 && n <= ids::kEntryCount, "a table line was built for a count out of range");
    FuzzCheck(line->size() < kLineBuffer, "a table line does not fit the line buffer");
    FuzzCheck(line->size() == 2 + 3 * static_cast<size_t>(n) + 2,
              "a table line has the wrong length");
    FuzzCheck(
        line->compare(0, 2, wire::AngleTableLine(n, [](int) { return "0"; })->substr(0, 2)) == 0,
        "a table line does not start with its count");
    // Parsed as the gauge would; a table of 2 entries reads as a pixel line by length.
    const std::optional<wirecheck::SLine> parsed = wirecheck::Parse(*line);
    if (n == 2)
        return;
    FuzzCheck(parsed && parsed->kind == wirecheck::ELineKind::Table &&
                  parsed->tenths.size() == static_cast<size_t>(n),
              [&] { return "a table line is not well formed: " + *line; });
    for (int k = 1; k <= n; ++k) {
        const double angle = numtext::AtoF(text(k));
        const double sent = parsed->tenths[static_cast<size_t>(k - 1)] / 10.0;
        FuzzCheck(std::fabs(sent - angle) <= 0.05 + 1e-9, [&] {
            return "entry " + std::to_string(k) + " went out as another angle: " + text(k);
        });
    }
}

struct SSpinSettings {
    int decimals = 1;
    bool trim = false;
    double min = 0.0, max = 360.0, step = 0.1;
    bool wrap = false;
    std::vector<int> deltas{1, -1};
};

SSpinSettings ReadSpinSettings(const std::vector<std::string>& words) {
    SSpinSettings s;
    auto word = [&words](size_t i) { return i < words.size() ? words[i] : std::string(); };
    if (words.size() > 1)
        s.decimals = std::clamp(numtext::AtoI(word(1)), -1, 40);
    if (words.size() > 2)
        s.trim = numtext::AtoI(word(2)) != 0;
    if (words.size() > 3)
        s.min = numtext::AtoF(word(3));
    if (words.size() > 4)
        s.max = numtext::AtoF(word(4));
    if (words.size() > 5)
        s.step = numtext::AtoF(word(5));
    if (words.size() > 6)
        s.wrap = numtext::AtoI(word(6)) != 0;
    if (words.size() > 7) {
        s.deltas.clear();
        for (size_t i = 7; i < words.size() && i < 15; ++i) {
            s.deltas.push_back(std::clamp(numtext::AtoI(words[i]), -1000, 1000));
        }
    }
    return s;
}

bool IsNotANumberText(const std::string& text) {
    return text == "inf" || text == "-inf" || text == "nan" || text == "-nan";
}

// The text shows `value` (finite) to the precision of its format.
bool Shows(const std::string& text, double value, int decimals) {
    if (!std::isfinite(value) || !IsWholeNumber(text))
        return false;
    const double back = numtext::AtoF(text);
    const double tolerance = FormatTolerance(value, decimals);
    // Rounded for display, the largest doubles can read back beyond the largest double.
    if (std::isinf(back)) {
        return std::signbit(back) == std::signbit(value) &&
               std::fabs(value) + tolerance >= std::numeric_limits<double>::max();
    }
    return std::fabs(back - value) <= tolerance;
}

void CheckShownValue(const std::string& text, double value, int decimals) {
    if (!std::isfinite(value)) {
        FuzzCheck(IsNotANumberText(text),
                  [&] { return "an infinite value was written as " + text; });
        return;
    }
    FuzzCheck(Shows(text, value, decimals),
              [&] { return "the spin control's text does not read back as its value: " + text; });
}

void CheckSpin(CHeadlessHost& host, const SSpinSettings& s, const std::vector<std::string>& texts) {
    const int spinId = ids::EntrySpinId(1), boxId = ids::EntryBoxId(1);
    host.SetWindowText(boxId, "");
    CNumSpinCtrl spin;
    spin.Attach(&host, spinId, boxId, s.wrap);
    spin.SetDecimals(s.decimals);
    spin.SetTrimZeros(s.trim);
    const bool sane = std::isfinite(s.min) && std::isfinite(s.max) && s.min < s.max &&
                      std::isfinite(s.step) && s.step > 0.0;
    // A position the control sets (the sentinel -1 is overwritten) must be in its range.
    const auto checkPosition = [&](const std::function<void()>& action) {
        host.SetSpinPos(spinId, -1);
        action();
        const int pos = host.Control(spinId).spinPos;
        FuzzCheck(pos == -1 || (pos >= 0 && pos <= spin.StepCount()),
                  "the native position left its range");
    };

    for (size_t i = 1; i < texts.size(); ++i) {
        host.SetWindowText(boxId, texts[i]);
        checkPosition([&] { spin.SetValueRange(s.min, s.max, s.step); });
        FuzzCheck(spin.StepCount() >= 0 && spin.StepCount() <= 32767,
                  "the step count left 0..32767");
        for (int delta : s.deltas) {
            const double from = numtext::AtoF(host.GetWindowText(boxId));
            long result = -1;
            spin.OnDeltaPosReflect(delta, &result);
            FuzzCheck(result == 0, "a step did not let the native control move");
            const std::string shown = host.GetWindowText(boxId);
            // The step itself, or a bound it was held at or wrapped to.
            const double next = delta * s.step + from;
            if (IsNotANumberText(shown)) {
                FuzzCheck(!std::isfinite(next) || !std::isfinite(s.min) || !std::isfinite(s.max),
                          [&] { return "a finite step was written as " + shown; });
                continue;
            }
            FuzzCheck(Shows(shown, next, s.decimals) || Shows(shown, s.min, s.decimals) ||
                          Shows(shown, s.max, s.decimals),
                      [&] { return "a step shows neither its value nor a bound: " + shown; });
            if (sane && from >= s.min && from <= s.max) {
                const double back = numtext::AtoF(shown);
                const double slack = FormatTolerance(s.min, s.decimals) +
                                     FormatTolerance(s.max, s.decimals) +
                                     std::fmax(std::fabs(s.min), std::fabs(s.max)) * 1e-9 + 1e-9;
                FuzzCheck(back >= s.min - slack && back <= s.max + slack,
                          [&] { return "a step from inside the range left it: " + shown; });
            }
        }
        const double value = numtext::AtoF(texts[i]);
        checkPosition([&] { spin.SetValue(value); });
        CheckShownValue(host.GetWindowText(boxId), value, s.decimals);
        CheckShownValue(spin.ValueToText(value), value, s.decimals);
    }
}

}  // namespace

void RunTable(CHeadlessHost& host, const uint8_t* data, size_t size) {
    const std::vector<std::string> lines =
        SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<std::string> words = SplitWords(lines[0]);
    const int n = words.empty() ? 10 : numtext::AtoI(words[0]);
    CheckTableLine(n, lines);
    CheckSpin(host, ReadSpinSettings(words), lines);
}

}  // namespace fuzzcase
