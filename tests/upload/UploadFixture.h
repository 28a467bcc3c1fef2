#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "support/DialogFixture.h"
#include "support/TestImages.h"

// Dials described pixel by pixel in walk order: index = row * 230 + column.
using PixelByIndex = std::function<SBgra(int)>;
using Lines = std::vector<std::string>;

// A different opaque colour for every index of a dial.
inline SBgra Unique(int i) {
    return {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8), 0x5A, 0xFF};
}
inline const SBgra kGrey{0x80, 0x80, 0x80, 0xFF};
// The table line of the angles a new dialog starts with, and the status of a failed upload.
inline const std::string kStartTable =
    "1404B0960E112C1F42BC38446A55064A7448208CA96AA00A82B04B7CBF4C6C\r\n";
inline const std::string kFailed = "Error occurred.  Please try again.";

// The eight digits a pixel travels as: 255 - alpha, blue, green, red.
inline std::string Digits(SBgra p) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", 255 - p.a, p.b, p.g, p.r);
    return text;
}
inline std::string Plain(SBgra p) {
    return Digits(p) + "\r\n";
}
inline std::string RunOf(int count, SBgra p) {
    return std::to_string(count) + "|" + Plain(p);
}
// The last `count` lines written; fewer when fewer were written, so that a check compares
// instead of reading past the start.
inline Lines Tail(const Lines& lines, size_t count) {
    return Lines(lines.end() - static_cast<std::ptrdiff_t>(std::min(count, lines.size())),
                 lines.end());
}
inline std::string Last(const Lines& lines) {
    return lines.empty() ? std::string("(nothing written)") : lines.back();
}
inline bool IsPixelLine(const std::string& line) {
    return line.find_first_not_of("0123456789ABCDEF|\r\n") == std::string::npos;
}

// A connected dialog with helpers to choose dials and to play the device.
class UploadFixture : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        Connect();
    }

    // Chooses a dial through its Select button, as the user does.
    void ChooseDial(int selectButton, const PixelByIndex& pixel) {
        const std::string path =
            WriteTestPng(dir, "dial" + std::to_string(++m_files) + ".png", 230, 230, 32,
                         [&pixel](int x, int y) { return pixel(y * 230 + x); });
        host.QueueFileDialogAnswer(path);
        ASSERT_TRUE(host.Click(selectButton));
        ASSERT_TRUE(host.Messages().empty()) << host.Messages().front();
    }
    void ChooseIas(const PixelByIndex& pixel) { ChooseDial(ids::kSelectIasDial, pixel); }
    void ChooseTas(const PixelByIndex& pixel) { ChooseDial(ids::kSelectTasDial, pixel); }
    void TickTable() { ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck)); }

    std::vector<std::string> PressUpdate() {
        host.Click(ids::kUpdate);
        return Writes();
    }
    // The device sends `bytes` as one message; answers what the dialog wrote back.
    std::vector<std::string> Say(const std::string& bytes) {
        Reply(bytes);
        return Writes();
    }
    // Acknowledges until the dialog writes something other than a pixel line; answers
    // every line written meanwhile, that last one included.
    std::vector<std::string> AckToStageEnd() {
        std::vector<std::string> all;
        for (int i = 0; i <= 230 * 230 + 1; ++i) {
            const std::vector<std::string> lines = Say("U");
            all.insert(all.end(), lines.begin(), lines.end());
            if (lines.empty() || !IsPixelLine(lines.back())) {
                break;
            }
        }
        return all;
    }
    // Starts a stage with READY and acknowledges it to its end, as AckToStageEnd answers.
    std::vector<std::string> RunStage() {
        Say("READY");
        return AckToStageEnd();
    }
    int Progress() const { return host.Control(ids::kProgress).progress; }
    std::string Status() const { return host.GetWindowText(ids::kStatus); }
    const upload::SUploadState& State() const { return dlg->Upload().State(); }

    CTempDir dir;

private:
    int m_files = 0;
};

// Short dials: three different pixels, then grey to the end (one plain line, one run).
inline SBgra ShortDial(int i) {
    return i < 3 ? Unique(i) : kGrey;
}
inline SBgra OtherShortDial(int i) {
    return i < 3 ? Unique(i + 100) : SBgra{1, 2, 3, 0};
}
