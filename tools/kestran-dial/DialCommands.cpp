#include "kestran-dial/DialCommands.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "angles/NumberText.h"
#include "angles/Plausibility.h"
#include "angles/StartTable.h"
#include "angles/TextFile.h"
#include "artwork/DecodeArtwork.h"
#include "artwork/MarkTable.h"
#include "base/DraftFile.h"
#include "base/GaugeFacts.h"
#include "base/Utf8Path.h"
#include "dial/CImage.h"
#include "dial/PngWrite.h"
#include "kestran-dial/DialInputs.h"
#include "upload/UploadCost.h"
#include "upload/WireFormat.h"
#include "workshop/DialPicture.h"
#include "workshop/DiscSquare.h"

namespace {

// One command's run: refusals end it before anything is written.
class CRun {
public:
    explicit CRun(SDialReport& report) : m_report(report) {}

    EDialExit Refuse(const std::string& why) {
        m_report.err += "kestran-dial: " + why + "\n";
        return EDialExit::Refused;
    }
    EDialExit WriteFailed(const std::string& path, const std::string& why) {
        m_report.err += "kestran-dial: " + path + ": cannot be written: " + why + "\n";
        return EDialExit::WriteFailed;
    }
    void Say(const std::string& text) { m_report.out += text + "\n"; }

private:
    SDialReport& m_report;
};

std::string Refusal(const std::string& path, const std::string& why) {
    return path + ": " + why;
}

bool WritePicture(const std::string& path, const SRgbaPicture& picture, std::string* why) {
    return draftfile::Replace(
        utf8path::ToPath(path),
        [&picture](const std::filesystem::path& draft) {
            return WritePng(utf8path::FromPath(draft).c_str(), picture.View());
        },
        why);
}

std::string CostText(const upload::SUploadCost& cost) {
    return std::to_string(cost.linesSent) + " lines, " + std::to_string(cost.bytesSent) +
           " bytes sent, " + std::to_string(cost.bytesReceived) + " received, " +
           upload::WireTimeText(cost.WireSeconds()) + " on the wire";
}

upload::SUploadCost DialCost(const SRgbaPicture& dial) {
    return upload::UploadCost({dial.View()}, std::nullopt);
}

std::vector<double> Degrees(const std::vector<std::string>& texts) {
    std::vector<double> angles;
    for (const std::string& text : texts)
        angles.push_back(numtext::AtoF(text));
    return angles;
}

std::vector<double> StartTable() {
    return std::vector<double>(starttable::kAngles.begin(), starttable::kAngles.end());
}

std::string SpeedText(double knots) {
    return numtext::FormatG(knots) + " knots";
}

// Reads the picture a command starts from, refusing first an output that would replace it
// unforced. Answers the refusal; empty once the picture is read.
std::string ReadInput(const std::string& input, const std::string& output, bool force,
                      const char* itself, SRgbaPicture& picture, int minSide = 0) {
    if (!force && dialinputs::SameFile(input, output))
        return Refusal(output, std::string("is the ") + itself + " itself; --force writes over it");
    std::string why;
    if (!artwork::LoadArtwork(input, picture, &why, minSide))
        return Refusal(input, why);
    return {};
}

// A sheet is held whole in memory: a scan given as the dial would ask for gigabytes.
constexpr int kMaxSheetSide = 4096;

// An --at the table does not reach, in words; empty when there is none or it is reached.
std::string AtRefusal(const SSheetRequest& sheet, const std::vector<double>& angles,
                      const std::string& source) {
    const std::optional<double> at = sheet.options.atKnots;
    if (!at || artwork::AngleAtSpeed(angles, *at))
        return {};
    return "--at " + SpeedText(*at) + " lies beyond " + source + ", which ends at " +
           SpeedText(static_cast<double>(gauge::kKnotsPerEntry) * angles.size());
}

void SayAngleAt(CRun& run, const SSheetRequest& sheet, const std::vector<double>& angles) {
    if (sheet.options.atKnots) {
        run.Say("at " + SpeedText(*sheet.options.atKnots) + ": " +
                numtext::FormatFixed(*artwork::AngleAtSpeed(angles, *sheet.options.atKnots), 1) +
                " degrees");
    }
}

std::string SheetRefusal(const std::string& path, const SRgbaPicture& dial, int scale) {
    if (std::max(dial.width, dial.height) * scale <= kMaxSheetSide)
        return {};
    return path + ": " + std::to_string(dial.width) + " x " + std::to_string(dial.height) +
           " pixels at --scale " + std::to_string(scale) + " make a sheet of more than " +
           std::to_string(kMaxSheetSide) + " pixels a side (kestran-dial prepare makes a dial)";
}

}  // namespace

namespace dialcommands {

// The sheet for a dial picture, with the pivot at its centre unless given.
SRgbaPicture Sheet(const SRgbaPicture& dial, const std::vector<double>& angles,
                   const SSheetRequest& request) {
    artwork::SSheetOptions options = request.options;
    options.geometry.pivotX = request.pivotX.value_or(dial.width / 2.0);
    options.geometry.pivotY = request.pivotY.value_or(dial.height / 2.0);
    return artwork::DrawNeedleSheet(dial, angles, options);
}

EDialExit Prepare(const SPrepareCommand& c, SDialReport& report) {
    CRun run(report);
    SRgbaPicture art;
    // Without a crop, given in the picture's own pixels, a large JPEG may be decoded reduced
    // to twice the dial's size, which the resampling then takes down to it.
    std::string why = ReadInput(c.input, c.output, c.force, "picture", art,
                                c.cropAuto       ? workshop::kPictureMinSide
                                : c.options.crop ? 0
                                                 : 2 * gauge::kDialSide);
    if (!why.empty())
        return run.Refuse(why);
    std::optional<workshop::SDisc> disc;
    if (c.cropAuto) {
        // As the dial workshop cuts it out.
        disc = workshop::DialDisc(art);
        art = workshop::DiscSquare(art, *disc);
    }
    artwork::SPreparedDial prepared;
    if (!artwork::PrepareDial(art, c.options, prepared, &why))
        return run.Refuse(Refusal(c.input, why));
    if (!WritePicture(c.output, prepared.dial, &why))
        return run.WriteFailed(c.output, why);

    if (disc) {
        run.Say("--crop auto: the disc at " + numtext::FormatFixed(disc->cx, 1) + "," +
                numtext::FormatFixed(disc->cy, 1) + ", radius " +
                numtext::FormatFixed(disc->radius, 1) + " (" +
                workshop::DiscSourceText(disc->source) + ")");
    }
    run.Say(c.input + " -> " + c.output + ": " + std::to_string(gauge::kDialSide) + " x " +
            std::to_string(gauge::kDialSide) + " with alpha");
    const upload::SUploadCost before = DialCost(prepared.asFitted);
    const upload::SUploadCost after = DialCost(prepared.dial);
    run.Say("upload as fitted: " + CostText(before));
    run.Say("upload as written: " + CostText(after));
    run.Say("(as fitted: the picture scaled to the dial alone; as written: the file, with the "
            "circle, background, merging and cleared transparent pixels)");
    if (c.options.merge > 0) {
        run.Say("--merge " + std::to_string(c.options.merge) + ": " +
                std::to_string(before.linesSent - after.linesSent) +
                " lines saved, largest change " + std::to_string(prepared.largestMergeChange) +
                " levels in a channel");
    }
    return EDialExit::Done;
}

EDialExit Cost(const SCostCommand& c, SDialReport& report) {
    CRun run(report);
    std::vector<CImage> images(c.dials.size());
    std::vector<SPixelView> dials;
    std::string why;
    for (size_t i = 0; i < c.dials.size(); ++i) {
        if (!dialinputs::LoadDial(c.dials[i], images[i], &why))
            return run.Refuse(why);
        dials.push_back(images[i].View());
    }
    std::optional<std::string> tableLine;
    if (c.table) {
        const auto texts = dialinputs::LoadTable(*c.table, &why);
        if (!texts)
            return run.Refuse(why);
        int bad = 0;
        tableLine = wire::AngleTableLine(
            static_cast<int>(texts->size()),
            [&texts](int k) { return (*texts)[static_cast<size_t>(k - 1)]; }, &bad);
        if (!tableLine)
            return run.Refuse(
                Refusal(*c.table, "the angle for " + std::to_string(gauge::kKnotsPerEntry * bad) +
                                      " knots cannot be sent (0 to " +
                                      numtext::FormatG(gauge::kMaxWireAngle) + " degrees)"));
    }
    const upload::SUploadCost cost = upload::UploadCost(dials, tableLine);
    for (size_t i = 0; i < c.dials.size(); ++i) {
        run.Say(c.dials[i] + ": " + std::to_string(cost.dials[i].lines) + " pixel lines, " +
                std::to_string(cost.dials[i].bytes) + " bytes");
    }
    if (c.table)
        run.Say(*c.table + ": 1 line, " + std::to_string(cost.tableBytes) + " bytes");
    run.Say("upload: " + CostText(cost) + " at " + std::to_string(gauge::kBaud) + " baud 8E1");
    run.Say("through a USB serial adapter at its usual " +
            std::to_string(upload::kDefaultAdapterLatencyMs) + " ms latency: " +
            upload::WireTimeText(cost.AdapterSeconds(upload::kDefaultAdapterLatencyMs)));
    return EDialExit::Done;
}

EDialExit Preview(const SPreviewCommand& c, SDialReport& report) {
    CRun run(report);
    SRgbaPicture dial;
    std::string why = ReadInput(c.dial, c.output, c.force, "dial", dial);
    if (why.empty())
        why = SheetRefusal(c.dial, dial, c.sheet.options.scale);
    if (!why.empty())
        return run.Refuse(why);
    std::vector<double> angles = StartTable();
    const std::string source = c.table.value_or("the start-up table");
    if (c.table) {
        const auto texts = dialinputs::LoadTable(*c.table, &why);
        if (!texts)
            return run.Refuse(why);
        angles = Degrees(*texts);
    }
    why = AtRefusal(c.sheet, angles, source);
    if (!why.empty())
        return run.Refuse(why);
    const SRgbaPicture sheet = Sheet(dial, angles, c.sheet);
    if (!WritePicture(c.output, sheet, &why))
        return run.WriteFailed(c.output, why);
    for (int k : plausibility::FailingEntries(angles))
        run.Say(source + ": " + plausibility::Message(k));
    SayAngleAt(run, c.sheet, angles);
    run.Say(c.output + ": " + std::to_string(angles.size()) + " needles of " + source);
    return EDialExit::Done;
}

namespace {

// What a table command writes, worked out in full before anything is written.
struct STablePlan {
    std::string line;                  // the file's line
    std::vector<std::string> entries;  // its angles, as the file holds them
    std::vector<double> angles;
    SRgbaPicture dial;  // the dial of --preview
};

// The table the marks give, or nothing with the refusal in `why`.
std::optional<STablePlan> PlanTable(const STableCommand& c, std::string* why) {
    const auto refuse = [why](const std::string& text) {
        *why = text;
        return std::nullopt;
    };
    const std::vector<artwork::SMark> marks = artwork::OrderMarks(c.marks, why);
    if (marks.empty())
        return std::nullopt;
    const double highest = marks.back().knots;
    int maxKnots = 0;
    if (c.maxKnots) {
        maxKnots = *c.maxKnots;
        if (maxKnots > highest)
            return refuse("--max " + std::to_string(maxKnots) + " lies beyond the highest mark, " +
                          SpeedText(highest) + ": give a mark at the maximum speed");
    } else {
        const double tens = highest / gauge::kKnotsPerEntry;
        if (highest < 100 || highest > 500 || tens != std::floor(tens))
            return refuse("the highest mark, " + SpeedText(highest) +
                          ", is no maximum speed (100 to 500 knots in tens): give --max");
        maxKnots = static_cast<int>(highest);
    }
    STablePlan plan;
    const std::optional<artwork::SMarkTable> table = artwork::FillMarkTable(marks, maxKnots);
    if (!table)
        return refuse("the marks give no table that can be saved");
    plan.line = table->line;
    plan.entries = table->entries;
    plan.angles = table->angles;
    if (table->firstFailing != 0)
        return refuse(plausibility::Message(table->firstFailing) +
                      ": with one decimal the marks rise too little there");
    if (!c.previewDial)
        return plan;
    *why = AtRefusal(c.sheet, plan.angles, "the table");
    if (!why->empty())
        return std::nullopt;
    if (!c.force && dialinputs::SameFile(*c.previewDial, *c.previewSheet))
        return refuse(Refusal(*c.previewSheet, "is the dial itself; --force writes over it"));
    if (dialinputs::SameFile(*c.previewDial, c.output) ||
        dialinputs::SameFile(*c.previewSheet, c.output))
        return refuse(Refusal(c.output, "is also named by --preview"));
    if (!artwork::LoadArtwork(*c.previewDial, plan.dial, why)) {
        *why = Refusal(*c.previewDial, *why);
        return std::nullopt;
    }
    *why = SheetRefusal(*c.previewDial, plan.dial, c.sheet.options.scale);
    if (!why->empty())
        return std::nullopt;
    return plan;
}

}  // namespace

EDialExit Table(const STableCommand& c, SDialReport& report) {
    CRun run(report);
    std::string why;
    STableCommand withPoints = c;
    std::vector<std::string> pointLines;
    if (!c.pointMarks.empty()) {
        const auto marks = PointMarkAngles(c, pointLines, &why);
        if (!marks)
            return run.Refuse(why);
        withPoints.marks.insert(withPoints.marks.end(), marks->begin(), marks->end());
    }
    const std::optional<STablePlan> plan = PlanTable(withPoints, &why);
    if (!plan)
        return run.Refuse(why);
    switch (textfile::ReplaceFile(c.output, plan->line)) {
        case textfile::EWriteResult::Ok:
            break;
        case textfile::EWriteResult::OpenFailed:
            return run.WriteFailed(c.output, "Error open file.");
        case textfile::EWriteResult::WriteFailed:
            return run.WriteFailed(c.output, "Error writing file.");
    }
    for (const std::string& line : pointLines)
        run.Say(line);
    std::string listing = c.output + ": " + std::to_string(plan->angles.size()) + " entries";
    for (size_t i = 0; i < plan->entries.size(); ++i)
        listing += (i % 10 == 0 ? "\n " : " ") + plan->entries[i];
    run.Say(listing);
    if (c.previewDial) {
        if (!WritePicture(*c.previewSheet, Sheet(plan->dial, plan->angles, c.sheet), &why))
            return run.WriteFailed(*c.previewSheet, why);
        SayAngleAt(run, c.sheet, plan->angles);
        run.Say(*c.previewSheet + ": the table's needles on " + *c.previewDial);
    }
    return EDialExit::Done;
}

}  // namespace dialcommands

EDialExit RunDialCommand(const SDialCommand& command, SDialReport& report) {
    struct SRun {
        SDialReport& report;
        EDialExit operator()(const SPrepareCommand& c) { return dialcommands::Prepare(c, report); }
        EDialExit operator()(const SCostCommand& c) { return dialcommands::Cost(c, report); }
        EDialExit operator()(const SPreviewCommand& c) { return dialcommands::Preview(c, report); }
        EDialExit operator()(const STableCommand& c) { return dialcommands::Table(c, report); }
        EDialExit operator()(const STicksCommand& c) { return dialcommands::Ticks(c, report); }
        EDialExit operator()(const SWindowCommand&) {
            // The programs built with a window open it before they come here.
            report.err +=
                "kestran-dial: this build has no window; kestran-dial --help lists the commands\n";
            return EDialExit::Refused;
        }
        EDialExit operator()(const SPictureAloneCommand& c) {
            return dialcommands::PictureAlone(c, report);
        }
    };
    return std::visit(SRun{report}, command.command);
}
