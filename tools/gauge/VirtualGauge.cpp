#include "gauge/VirtualGauge.h"

#include "base/GaugeFacts.h"
#include "upload/WireFormat.h"

namespace {

// Stage and dial count as the two digits of the LOAD line.
int LoadCode(int stage, int dialCount) {
    return stage * 10 + dialCount;
}

// The LOAD lines that may follow a finished stage after CON.
bool MayFollow(int previous, int next) {
    return (previous == 12 && next == 22) || (previous == 21 && next == 31) ||
           (previous == 22 && next == 32);
}

}  // namespace

CVirtualGauge::CVirtualGauge(SGaugeFaults faults) : m_faults(faults) {}

SGaugeOutput CVirtualGauge::Feed(std::string_view bytes) {
    SGaugeOutput out;
    for (char c : bytes) {
        if (c != '\n') {
            if (m_overlong) {
                continue;
            }
            m_pending += c;
            if (m_pending.size() > kMaxLine) {
                m_overlong = true;
                m_pending.clear();
            }
            continue;
        }
        ++m_lines;
        std::string line;
        line.swap(m_pending);
        if (m_overlong) {
            m_overlong = false;
            Violation("line longer than " + std::to_string(kMaxLine) + " bytes");
            continue;
        }
        if (line.empty() || line.back() != '\r') {
            Violation("line not ended by CR LF: \"" + line + "\"");
            continue;
        }
        line.pop_back();
        HandleLine(line, out);
        if (out.hangUp) {
            m_pending.clear();
            break;
        }
    }
    return out;
}

void CVirtualGauge::HandleLine(std::string_view line, SGaugeOutput& out) {
    std::optional<std::string> reply;
    if (line == "CON") {
        OnContinue();
    } else if (line == "END") {
        out.uploadEnded = OnEnd() || out.uploadEnded;
    } else if (line == "ERR") {
        Abort();
    } else if (const auto load = gauge::ParseLoadLine(line)) {
        reply = OnLoad(*load);
        if (m_faults.babbleAfterLoad > 0) {
            reply.reset();
            out.replies.insert(out.replies.end(), static_cast<size_t>(m_faults.babbleAfterLoad),
                               "~~");
        }
        if (reply && m_faults.splitReadyAfter > 0 &&
            static_cast<size_t>(m_faults.splitReadyAfter) < reply->size()) {
            const auto split = static_cast<size_t>(m_faults.splitReadyAfter);
            out.replies.push_back(reply->substr(0, split));
            reply->erase(0, split);
        }
    } else if (m_stage != 0) {
        ++m_dialLine;
        const bool dial = m_stage != 3;
        if ((dial || m_faults.faultStage == 3) && StageFaultDue(m_faults.hangUpAtDialLine)) {
            m_faults.hangUpAtDialLine = 0;
            out.hangUp = true;
            Abort();
            return;
        }
        const bool unexpected =
            m_faults.faultStage != 0 && StageFaultDue(m_faults.unexpectedByteAtLine);
        reply = dial ? OnPixelLine(line) : OnTableLine(line);
        if (unexpected) {
            m_faults.unexpectedByteAtLine = 0;
            reply = std::string(1, m_faults.unexpectedByte);
        }
    } else {
        Violation("line outside an upload: \"" + std::string(line) + "\"");
    }
    if (m_faults.faultStage == 0 && m_lines == m_faults.unexpectedByteAtLine) {
        reply = std::string(1, m_faults.unexpectedByte);
    }
    if (reply) {
        out.replies.push_back(*reply);
    }
}

bool CVirtualGauge::StageFaultDue(int at) const {
    return at > 0 && m_dialLine == at &&
           (m_faults.faultStage == 0 || m_faults.faultStage == m_stage);
}

std::optional<std::string> CVirtualGauge::OnLoad(const gauge::SLoadLine& load) {
    const int code = LoadCode(load.stage, load.dialCount);
    const bool opensUpload = code == 11 || code == 12 || code == 21;
    if (m_stage != 0 && opensUpload) {
        // The tool lost the line in the middle of an upload (disconnected, gave up) and
        // starts over: like a device, drop what was cut short and take the new upload.
        Violation("upload cut short by LOAD=" + std::to_string(code));
        Abort();
    }
    const bool expected = m_stage == 0 ? (code == 11 || code == 12 || code == 21)
                                       : m_stageDone && m_continued &&
                                             MayFollow(LoadCode(m_stage, m_dialCount), code);
    if (!expected) {
        Violation("unexpected LOAD=" + std::to_string(code));
        return std::nullopt;
    }
    m_stage = load.stage;
    m_dialCount = load.dialCount;
    m_stageDone = false;
    m_continued = false;
    m_dialLine = 0;
    m_building = m_stage < 3 ? std::make_unique<CDialBuilder>() : nullptr;
    if (m_faults.silentAfterLoad) {
        return std::nullopt;
    }
    return m_faults.readyWithLineEnd ? wire::kReady + "\r\n" : wire::kReady;
}

void CVirtualGauge::OnContinue() {
    const int code = LoadCode(m_stage, m_dialCount);
    if (m_stage == 0) {
        Violation("CON outside an upload");
    } else if (!m_stageDone) {
        Violation(StageCutShort() + " at CON");
    } else if (m_continued || !(code == 12 || code == 21 || code == 22)) {
        Violation("CON where no stage follows");
    }
    m_continued = true;
}

bool CVirtualGauge::OnEnd() {
    if (m_stage == 0) {
        Violation("END outside an upload");
        return false;
    }
    if (!m_stageDone) {
        Violation(StageCutShort() + " at END");
    } else if (m_continued) {
        Violation("END after CON");
    } else if (LoadCode(m_stage, m_dialCount) == 12) {
        Violation("END before the second dial");
    }
    Abort();
    ++m_uploadsEnded;
    return true;
}

std::optional<std::string> CVirtualGauge::OnPixelLine(std::string_view line) {
    const auto pixel = gauge::ParsePixelLine(line);
    if (!pixel) {
        Violation("malformed pixel line \"" + std::string(line) + "\"");
        return std::nullopt;
    }
    if (m_stageDone || !m_building) {
        Violation("pixel beyond the dial");
        return std::nullopt;
    }
    std::string why;
    if (!m_building->Apply(pixel->runCount, pixel->bgra, &why)) {
        Violation(why);
        return std::nullopt;
    }
    if (m_building->IsComplete()) {
        m_dials[static_cast<size_t>(m_stage - 1)] = std::move(m_building);
        m_stageDone = true;
    }
    return std::string(1, wire::kPixelTaken);
}

std::optional<std::string> CVirtualGauge::OnTableLine(std::string_view line) {
    if (m_stageDone) {
        Violation("second angle-table line");
        return std::nullopt;
    }
    auto table = gauge::ParseTableLine(line);
    if (!table) {
        Violation("malformed angle-table line \"" + std::string(line) + "\"");
        return std::nullopt;
    }
    if (table->size() < gauge::kMinEntries || table->size() > gauge::kMaxEntries) {
        Violation("angle table of " + std::to_string(table->size()) + " entries");
        return std::nullopt;
    }
    m_table = std::move(*table);
    m_stageDone = true;
    return std::string(1, wire::kTableTaken);
}

void CVirtualGauge::Abort() {
    m_stage = 0;
    m_dialCount = 0;
    m_stageDone = false;
    m_continued = false;
    m_dialLine = 0;
    m_building.reset();
}

std::string CVirtualGauge::StageCutShort() const {
    if (m_stage == 3) {
        return "angle table missing";
    }
    const int placed = m_building ? m_building->PixelsPlaced() : 0;
    return "dial cut short after " + std::to_string(placed) + " pixels";
}

void CVirtualGauge::Violation(const std::string& what) {
    m_violations.push_back("line " + std::to_string(m_lines) + ": " + what);
}

const CImage* CVirtualGauge::Dial(int stage) const {
    if (stage < 1 || stage > 2 || !m_dials[static_cast<size_t>(stage - 1)]) {
        return nullptr;
    }
    return &m_dials[static_cast<size_t>(stage - 1)]->Image();
}

std::vector<double> CVirtualGauge::TableDegrees() const {
    std::vector<double> degrees;
    for (int tenths : m_table) {
        degrees.push_back(tenths / 10.0);
    }
    return degrees;
}
