#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dial/CImage.h"
#include "gauge/DialBuilder.h"
#include "gauge/GaugeLines.h"

// Ways a virtual gauge misbehaves on purpose, to try the tool's failure handling.
struct SGaugeFaults {
    bool silentAfterLoad = false;   // never answer a LOAD line
    int unexpectedByteAtLine = 0;   // answer this line (1 = first line received) with
    char unexpectedByte = '?';      //   unexpectedByte instead of its reply; 0: never
    bool readyWithLineEnd = false;  // answer a LOAD line with "READY\r\n"
    int hangUpAtDialLine = 0;       // ask for a hang-up when this pixel line of a dial
                                    //   arrives (1 = first after READY); once; 0: never
    // 1 (IAS), 2 (TAS) or 3 (table): the two line numbers above count only the lines of
    // that stage after its READY (1 = its first pixel line, or the table line), and the
    // unexpected byte comes once. 0: as said above.
    int faultStage = 0;
    // Answer a LOAD line in two messages: the first this many bytes of "READY", then the
    // rest. 0: never.
    int splitReadyAfter = 0;
    // Answer a LOAD line with this many messages of noise that acknowledge nothing, instead
    // of READY. 0: never.
    int babbleAfterLoad = 0;
};

// What the gauge wants done after a chunk of input.
struct SGaugeOutput {
    // Each reply is one message: send it on its own and wait for the tool's next line.
    std::vector<std::string> replies;
    bool uploadEnded = false;  // an upload ended with END: what it brought can be saved
    bool hangUp = false;       // hang up the line now; the rest of the input was dropped
};

// The device end of the upload protocol, without any I/O of its own: it is fed the bytes
// the tool writes, in any chunking, and answers the messages to send back. It rebuilds the
// dials and keeps the angle table it receives, and notes every breach of the protocol.
// A line that breaches the protocol gets no answer.
class CVirtualGauge {
public:
    explicit CVirtualGauge(SGaugeFaults faults = {});
    CVirtualGauge(const CVirtualGauge&) = delete;
    CVirtualGauge& operator=(const CVirtualGauge&) = delete;

    SGaugeOutput Feed(std::string_view bytes);

    // The last dial received in full for stage 1 (IAS) or 2 (TAS): 230 x 230 at 32 bits
    // per pixel with alpha. Null when none came yet.
    const CImage* Dial(int stage) const;
    // The last angle table received, one value per entry in tenths of a degree (the entry
    // count is the size); empty while none came.
    const std::vector<int>& TableTenths() const { return m_table; }
    std::vector<double> TableDegrees() const;

    int LineCount() const { return m_lines; }
    int UploadsEnded() const { return m_uploadsEnded; }
    // One text per breach, "line N: what"; empty after a clean exchange.
    const std::vector<std::string>& Violations() const { return m_violations; }

private:
    static constexpr size_t kMaxLine = 256;

    void HandleLine(std::string_view line, SGaugeOutput& out);
    // Whether the stage's data line just counted is line `at` where a fault is due.
    bool StageFaultDue(int at) const;
    std::optional<std::string> OnLoad(const gauge::SLoadLine& load);
    void OnContinue();
    bool OnEnd();
    std::optional<std::string> OnPixelLine(std::string_view line);
    std::optional<std::string> OnTableLine(std::string_view line);
    void Abort();
    std::string StageCutShort() const;
    void Violation(const std::string& what);

    SGaugeFaults m_faults;
    std::string m_pending;  // bytes of the line not yet ended
    bool m_overlong = false;
    int m_lines = 0;
    int m_uploadsEnded = 0;
    std::vector<std::string> m_violations;

    // The upload in progress: stage 0 when none.
    int m_stage = 0;
    int m_dialCount = 0;
    bool m_stageDone = false;
    bool m_continued = false;  // CON came after the stage was done
    int m_dialLine = 0;        // lines of the stage's data so far: pixel lines, the table line
    std::unique_ptr<CDialBuilder> m_building;

    std::array<std::unique_ptr<CDialBuilder>, 2> m_dials;
    std::vector<int> m_table;
};
