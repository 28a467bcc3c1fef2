#include "harness/ReplyCase.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "angles/NumberText.h"
#include "base/GaugeFacts.h"
#include "harness/DialogRig.h"
#include "harness/FuzzCheck.h"
#include "harness/ScratchDir.h"
#include "harness/WireLines.h"
#include "res/ControlIds.h"
#include "support/TestImages.h"
#include "upload/WireFormat.h"

namespace fuzzcase {
namespace {

constexpr int kDialPixels = gauge::kDialSide * gauge::kDialSide;
constexpr int kLast = gauge::kDialSide - 1;  // last row and column
constexpr size_t kMaxSteps = 4096;
constexpr long kMaxAcknowledgements = 20000;

std::string Unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char code = text[++i];
        if (code == 'r') {
            out += '\r';
        } else if (code == 'n') {
            out += '\n';
        } else if (code == '0') {
            out += '\0';
        } else if (code == 'x' && i + 2 < text.size() &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            const std::string hex(text.substr(i + 1, 2));
            out += static_cast<char>(std::strtoul(hex.c_str(), nullptr, 16));
            i += 2;
        } else {
            out += code;
        }
    }
    return out;
}

bool IsUploadable(const CImage& image) {
    return !image.IsNull() && image.GetWidth() == gauge::kDialSide &&
           image.GetHeight() == gauge::kDialSide && image.GetBPP() == 32;
}

const uint8_t* PixelOf(const CImage& image, int index) {
    return image.PixelAt(index % gauge::kDialSide, index / gauge::kDialSide);
}

bool Same(const uint8_t* a, const uint8_t* b) {
    return std::memcmp(a, b, 4) == 0;
}

// One script run: a fresh connected dialog, and what the lines it wrote imply so far.
class CScriptRun {
public:
    explicit CScriptRun(const std::vector<std::string>& pictures) : m_pictures(pictures) {
        FuzzCheck(m_rig.host.Click(ids::kConnect) && m_rig.dialog->IsPortOpen(),
                  "the fake port does not connect");
    }

    void Step(std::string_view record) {
        if (record.empty())
            return;
        const char op = record[0];
        const std::string_view arg = record.substr(1);
        CHeadlessHost& host = m_rig.host;
        switch (op) {
            case 'I':
                ChooseDial(ids::kSelectIasDial, arg);
                break;
            case 'T':
                ChooseDial(ids::kSelectTasDial, arg);
                break;
            case 'C':
                ClickCheck(arg);
                break;
            case 'M':
                host.SelectItem(ids::kMaxSpeedList, numtext::AtoI(arg));
                break;
            case 'E':
                TypeEntry(arg);
                break;
            case 'P':
                PressUpdate();
                return;
            case 'K':
                host.Click(ids::kConnect);
                break;
            case '>':
                m_rig.line->Send(Unescape(arg));
                break;
            case 'D':
                Deliver(1);
                return;
            case 'R':
                m_rig.line->Send(Unescape(arg));
                Deliver(1);
                return;
            case 'A':
                Acknowledge(numtext::AtoI(arg));
                return;
            case 'Z':
                Deliver(0);
                return;
            default:
                break;
        }
        CheckNoWrites(TakeWrites(), std::string("step ") + op);
    }

private:
    std::vector<std::string> TakeWrites() { return m_rig.line->TakeWrites(); }

    std::string Waiting() {
        std::lock_guard<std::mutex> lock(m_rig.line->mutex);
        return m_rig.line->incoming;
    }

    const CImage& StageImage() const {
        return m_stage == 1 ? m_rig.dialog->IasUploadImage() : m_rig.dialog->TasUploadImage();
    }

    void ChooseDial(int button, std::string_view arg) {
        // Only a dialog that opens takes the answer; a queued answer would go to the next.
        if (!m_rig.host.IsWindowEnabled(button))
            return;
        std::optional<std::string> answer;
        if (!arg.empty() && arg[0] >= '0' && arg[0] <= '9') {
            answer = m_pictures[static_cast<size_t>(arg[0] - '0') % m_pictures.size()];
        }
        m_rig.host.QueueFileDialogAnswer(answer);
        m_rig.host.Click(button);
        m_rig.host.ClearMessages();
    }

    void ClickCheck(std::string_view arg) {
        if (arg.empty())
            return;
        const int id = arg[0] == 'i'   ? ids::kIasCheck
                       : arg[0] == 't' ? ids::kTasCheck
                                       : ids::kMaxSpeedCheck;
        // A box ticked without a dial opens a file dialog, which is cancelled here.
        m_rig.host.Click(id);
        m_rig.host.ClearMessages();
    }

    void TypeEntry(std::string_view arg) {
        const size_t equals = arg.find('=');
        if (equals == std::string_view::npos)
            return;
        const int k = numtext::AtoI(arg.substr(0, equals));
        if (k < 1 || k > ids::kEntryCount)
            return;
        m_rig.host.Type(ids::EntryBoxId(k), std::string(arg.substr(equals + 1)));
    }

    void PressUpdate() {
        m_rig.host.Click(ids::kUpdate);
        m_rig.host.ClearMessages();
        const std::vector<std::string> writes = TakeWrites();
        if (writes.empty())
            return;
        const auto line = ParseAll(writes, "Update");
        FuzzCheck(
            writes.size() == 1 && line[0].kind == wirecheck::ELineKind::Load && line[0].stage <= 2,
            [&] { return "Update wrote something other than the first LOAD line: " + writes[0]; });
        m_stage = line[0].stage;
        m_readyHeard = false;
    }

    void Acknowledge(int count) {
        const long left = std::max(0L, kMaxAcknowledgements - m_acknowledgements);
        count = static_cast<int>(std::clamp(static_cast<long>(count), 0L, left));
        for (int i = 0; i < count; ++i) {
            m_rig.line->Send("U");
            Deliver(1);
        }
    }

    void Deliver(unsigned wParam) {
        if (++m_acknowledgements > kMaxAcknowledgements)
            return;
        const std::string before = Waiting();
        m_rig.dialog->OnSerialData(wParam, 0);
        const std::string after = Waiting();
        FuzzCheck(after.size() <= before.size() &&
                      before.compare(before.size() - after.size(), after.size(), after) == 0,
                  "the dialog did not read from the front of the line");
        const std::string message = before.substr(0, before.size() - after.size());
        FuzzCheck(message.size() <= 1024, "one read took more than 1024 bytes");
        FuzzCheck(wParam & 1u || message.empty(), "a notification without the flag read bytes");
        CheckAnswer(message, TakeWrites());
    }

    std::vector<wirecheck::SLine> ParseAll(const std::vector<std::string>& writes,
                                           const std::string& after) {
        std::vector<wirecheck::SLine> lines;
        for (const std::string& text : writes) {
            const std::optional<wirecheck::SLine> line = wirecheck::Parse(text);
            FuzzCheck(line.has_value(),
                      [&] { return "after " + after + " a malformed line went out: " + text; });
            lines.push_back(*line);
        }
        return lines;
    }

    static void CheckNoWrites(const std::vector<std::string>& writes, const std::string& after) {
        FuzzCheck(writes.empty(),
                  [&] { return "after " + after + " a line went out: " + writes.front(); });
    }

    void Expect(const std::vector<std::string>& writes, const std::vector<std::string>& expected,
                const std::string& after) {
        FuzzCheck(writes == expected, [&] {
            std::string got;
            for (const std::string& w : writes)
                got += w;
            return "after " + after + " the dialog wrote \"" + got + "\"";
        });
    }

    // The answer to one read of the device's bytes.
    void CheckAnswer(const std::string& message, const std::vector<std::string>& writes) {
        const std::string what = "a read of " + std::to_string(message.size()) + " bytes";
        const std::vector<wirecheck::SLine> lines = ParseAll(writes, what);
        if (message.empty() || m_stage == 0) {
            CheckNoWrites(writes, what);
            return;
        }
        if (message.size() == 1) {
            const bool acknowledgement = message[0] == 'U' || message[0] == 'f';
            if (acknowledgement && !m_readyHeard) {
                Expect(writes, {wire::kError}, "an acknowledgement before the stage's READY");
            } else if (message[0] == 'U') {
                CheckAcknowledgement(writes, lines);
            } else if (message[0] == 'f' && m_stage == 3) {
                Expect(writes, {wire::kEnd}, "\"f\" in the table stage");
            } else {
                Expect(writes, {wire::kError}, "an unexpected byte");
            }
        } else if (std::strcmp(message.c_str(), "READY") == 0) {
            CheckStageStart(writes, lines);
        } else {
            CheckNoWrites(writes, "an unknown message");
        }
        for (const wirecheck::SLine& line : lines) {
            if (line.kind == wirecheck::ELineKind::Load) {
                m_stage = line.stage;
                m_readyHeard = false;
            }
            if (line.kind == wirecheck::ELineKind::End ||
                line.kind == wirecheck::ELineKind::Error) {
                FuzzCheck(m_rig.host.IsWindowEnabled(ids::kConnect) &&
                              m_rig.host.IsWindowEnabled(ids::kRefresh),
                          "the dialog stayed locked after the upload ended");
            }
        }
    }

    void CheckStageStart(const std::vector<std::string>& writes,
                         const std::vector<wirecheck::SLine>& lines) {
        if (m_stage >= 3) {
            m_readyHeard = true;
            const int n = m_rig.host.GetCurSel(ids::kMaxSpeedList) + 10;
            FuzzCheck(writes.size() == 1 && (writes[0] == wire::kError ||
                                             (lines[0].kind == wirecheck::ELineKind::Table &&
                                              lines[0].tenths.size() == static_cast<size_t>(n))),
                      [n] {
                          return "\"READY\" in the table stage did not get the table line of " +
                                 std::to_string(n) + " entries";
                      });
            return;
        }
        const CImage& image = StageImage();
        if (!IsUploadable(image)) {
            CheckNoWrites(writes, "\"READY\" without a dial");
            return;
        }
        FuzzCheck(writes.size() == 1 && lines[0].kind == wirecheck::ELineKind::Pixel &&
                      lines[0].runCount == 0 && Same(lines[0].bgra, PixelOf(image, 0)),
                  "\"READY\" did not get the dial's first pixel");
        m_position = 1;
        m_readyHeard = true;
    }

    void CheckAcknowledgement(const std::vector<std::string>& writes,
                              const std::vector<wirecheck::SLine>& lines) {
        if (m_stage >= 3) {
            Expect(writes, {wire::kEnd}, "\"U\" in the table stage");
            return;
        }
        if (!m_position) {
            Expect(writes, {wire::kError}, "\"U\" before any dial started");
            return;
        }
        if (*m_position >= kDialPixels) {
            CheckStageEnd(writes);
            return;
        }
        const CImage& image = StageImage();
        if (!IsUploadable(image)) {
            Expect(writes, {wire::kError}, "\"U\" with the dial gone");
            return;
        }
        FuzzCheck(writes.size() == 1 && lines[0].kind == wirecheck::ELineKind::Pixel,
                  "\"U\" in the middle of a dial did not get one pixel line");
        CheckPixelLine(image, lines[0]);
    }

    // A line after the reference pixel (position - 1): its count repeats that pixel, and it
    // carries the next pixel that differs, or the dial's last pixel once more.
    void CheckPixelLine(const CImage& image, const wirecheck::SLine& line) {
        const int from = *m_position;
        const int count = line.runCount;
        FuzzCheck(count <= kDialPixels - from, "a run reaches beyond the dial's last pixel");
        const uint8_t* reference = PixelOf(image, from - 1);
        for (int i = from; i < from + count; ++i) {
            FuzzCheck(Same(PixelOf(image, i), reference), [i] {
                return "a run covers pixel " + std::to_string(i) + ", which differs";
            });
        }
        const int next = from + count;
        if (next < kDialPixels) {
            FuzzCheck(!Same(PixelOf(image, next), reference),
                      [next] { return "a run stops early at pixel " + std::to_string(next); });
            FuzzCheck(Same(line.bgra, PixelOf(image, next)), [next] {
                return "a line carries another colour than pixel " + std::to_string(next);
            });
            m_position = next + 1;
        } else {
            FuzzCheck(Same(line.bgra, PixelOf(image, kDialPixels - 1)),
                      "the last run does not repeat the dial's last pixel");
            m_position = kDialPixels + 1;
        }
    }

    void CheckStageEnd(const std::vector<std::string>& writes) {
        const CHeadlessHost& host = m_rig.host;
        const int dials =
            (host.GetCheck(ids::kIasCheck) != 0) + (host.GetCheck(ids::kTasCheck) != 0);
        if (m_stage == 1 && host.GetCheck(ids::kTasCheck) != 0) {
            Expect(writes, {wire::kContinue, wire::LoadLine(2, dials)},
                   "the IAS dial's last \"U\"");
        } else if (m_stage == 2 && host.GetCheck(ids::kMaxSpeedCheck) != 0) {
            Expect(writes, {wire::kContinue, wire::LoadLine(3, dials)},
                   "the TAS dial's last \"U\"");
        } else {
            Expect(writes, {wire::kEnd}, "the last dial's last \"U\"");
        }
    }

    SDialogRig m_rig;
    const std::vector<std::string>& m_pictures;
    int m_stage = 0;                // digit of the last LOAD line written
    bool m_readyHeard = false;      // the stage of that LOAD line has started
    std::optional<int> m_position;  // dial pixels the lines since "READY" have covered
    long m_acknowledgements = 0;
};

SBgra Opaque(uint8_t b, uint8_t g, uint8_t r) {
    return {b, g, r, 0xFF};
}

}  // namespace

CReplyStreamCase::CReplyStreamCase(const CScratchDir& scratch) {
    const auto dial = [&scratch, this](const std::string& name, int side, int bpp,
                                       const std::function<SBgra(int, int)>& pixel) {
        CImage image;
        FillImage(image, side, side, bpp, pixel);
        const std::string path = scratch.File(name);
        FuzzCheck(WritePng(path.c_str(), image.View()), "cannot write a dial picture");
        m_pictures.push_back(path);
    };
    dial("plain.png", 230, 32, [](int, int) { return Opaque(0x10, 0x20, 0x30); });
    dial("bands.png", 230, 32, [](int, int y) {
        return SBgra{static_cast<uint8_t>(y / 58 * 60), 0x40, 0x80,
                     static_cast<uint8_t>(255 - y / 58)};
    });
    dial("last-differs.png", 230, 32, [](int x, int y) {
        return x == kLast && y == kLast ? Opaque(0, 0, 0xFF) : Opaque(0x80, 0x80, 0x80);
    });
    dial("corner.png", 230, 32, [](int x, int y) {
        if (y < 3 && x < 8)
            return SBgra{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7,
                         static_cast<uint8_t>(x * 32)};
        return SBgra{0, 0, 0, 0};
    });
    dial("disc.png", 230, 32, [](int x, int y) {
        const int d2 = (x - 115) * (x - 115) + (y - 115) * (y - 115);
        if (d2 < 60 * 60)
            return Opaque(0xC0, 0x30, 0x10);
        if (d2 < 70 * 70)
            return SBgra{0xFF, 0xFF, 0xFF, 0x80};
        return SBgra{0, 0, 0, 0};
    });
    const std::string text = scratch.File("not-a-picture.png");
    FILE* file = std::fopen(text.c_str(), "wb");
    FuzzCheck(file != nullptr && std::fputs("not a picture\n", file) >= 0 && std::fclose(file) == 0,
              "cannot write a file");
    m_pictures.push_back(text);
    dial("no-alpha.png", 230, 24,
         [](int x, int y) { return Opaque(static_cast<uint8_t>(x), 0, static_cast<uint8_t>(y)); });
    dial("small.png", 10, 32, [](int, int) { return Opaque(1, 2, 3); });
}

void CReplyStreamCase::Run(const uint8_t* data, size_t size) const {
    CScriptRun run(m_pictures);
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    for (size_t steps = 0; start < script.size() && steps < kMaxSteps; ++steps) {
        size_t end = script.find('\n', start);
        if (end == std::string_view::npos)
            end = script.size();
        run.Step(script.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace fuzzcase
