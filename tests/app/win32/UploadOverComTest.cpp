// A whole upload from the window's controls to the virtual gauge on COM7 (WithGauges.sh):
// the Windows serial layer, the reader thread, the posted notifications and the native
// controls together, with what a user may do on the way.
#include "platform/win32/WinApi.h"

#include <commctrl.h>

#include <set>

#include "app/win32/WindowFixture.h"
#include "serial/PlatformServices.h"
#include "serial/PortNames.h"
#include "support/GaugeFiles.h"

class UploadOverComTest : public WindowFixture {
protected:
    void SetUp() override {
        if (GaugeOut("COM7").empty())
            GTEST_SKIP() << "no virtual gauge on COM7 (run through WithGauges.sh)";
        WindowFixture::SetUp();
    }
    SDialogServices Services() override { return MakePlatformServices(); }
    int Progress() const {
        return static_cast<int>(SendMessageW(W(ids::kProgress), PBM_GETPOS, 0, 0));
    }
};

TEST_F(UploadOverComTest, BothDialsAndTheTableReachTheGaugeWhileTheUserLooksAround) {
    const SerInfoList& ports = window->Dialog().PortList();
    for (size_t i = 0; i < ports.size(); ++i) {
        if (portnames::SamePortName(portnames::PortNameOf(ports[i]), "COM7"))
            window->SetCurSel(ids::kPortList, static_cast<int>(i));
    }
    // Enter on a focused push button clicks it; anywhere else it keeps the dialog.
    window->SetFocus(ids::kConnect);
    Press(VK_RETURN);
    ASSERT_TRUE(window->Dialog().IsPortOpen()) << Text(ids::kPortList);
    Click(ids::kMaxSpeedCheck);
    for (const int id : {ids::kAngleBox, ids::kPortList, ids::kIasCheck}) {
        window->SetFocus(id);
        Press(VK_RETURN);
        ASSERT_FALSE(window->Ended()) << id;
    }

    const auto dial = [](int variant) {
        return [variant](int x, int y) { return BandedDial(variant, x, y); };
    };
    const std::string ias = WriteTestPng(dir, "ias.png", 230, 230, 32, dial(1));
    const std::string tas = WriteTestPng(dir, "tas.png", 230, 230, 32, dial(2));
    window->files = {ias, tas};
    Click(ids::kSelectIasDial);
    Click(ids::kSelectTasDial);
    ASSERT_TRUE(Enabled(ids::kUpdate));

    // Escape asks whether to give the upload up: Enter answers No, its default. Then the
    // About box, under which the upload goes on.
    CModalDriver driver(window->Window());
    std::string caption;
    std::multiset<std::string> question;  // the box's texts, in no particular order
    driver.Then([&](HWND box) {
        caption = TextOf(box);
        for (HWND child : Children(box)) {
            if (!TextOf(child).empty())
                question.insert(TextOf(child));
        }
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    });
    int progressAtAbout = -1, progressUnderAbout = -1;
    driver.Then([&](HWND about) {
        progressAtAbout = Progress();
        WaitFor(
            [&] {
                progressUnderAbout = Progress();
                return progressUnderAbout > progressAtAbout + 5;
            },
            20s);
        PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    std::vector<int> progress{0};
    bool sawStepTwo = false, escaped = false, aboutShown = false;
    Click(ids::kUpdate);
    const bool ended = PumpUntil(
        [&] {
            if (Progress() != progress.back())
                progress.push_back(Progress());
            const std::string status = Text(ids::kStatus);
            sawStepTwo |= status == "Update in progress, step 2 of 2, do not close this program";
            // Every control is locked: keys go to the dialog itself.
            if (progress.back() >= 20 && !escaped) {
                escaped = true;
                PostMessageW(window->Window(), WM_KEYDOWN, VK_ESCAPE, 0);
            } else if (progress.back() >= 40 && !aboutShown) {
                aboutShown = true;
                PostMessageW(window->Window(), WM_SYSCOMMAND, ids::kAboutCommand, 0);
            }
            return !window->Dialog().IsUploadRunning();
        },
        120s);
    ASSERT_TRUE(ended) << Text(ids::kStatus) << " at " << Progress();
    EXPECT_EQ(Text(ids::kStatus), "Update completed.");
    EXPECT_TRUE(sawStepTwo);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_GT(progress.size(), 10u);
    ASSERT_EQ(driver.Done(), 2);
    EXPECT_EQ(caption, "Kestran");
    EXPECT_EQ(question, std::multiset<std::string>({CTillerbyDlg::kCloseQuestion, "&Yes", "&No"}));
    EXPECT_GT(progressUnderAbout, progressAtAbout);

    // The gauge holds what the window sent, byte for byte.
    const std::filesystem::path out = GaugeOut("COM7");
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(out / "table.txt"); }, 10s));
    EXPECT_TRUE(SamePicture(ias, (out / "ias.png").string()));
    EXPECT_TRUE(SamePicture(tas, (out / "tas.png").string()));
    std::string table = "entries 20\n";
    for (int k = 1; k <= 20; ++k)
        table += std::to_string(10 * k) + " " + Text(ids::EntryBoxId(k)) + "\n";
    EXPECT_EQ(ReadFileBytes(out / "table.txt"), table);

    // Unlocked again: Escape ends the dialog without a question, the port closed.
    window->SetFocus(ids::kConnect);
    Press(VK_ESCAPE);
    EXPECT_TRUE(window->Ended());
    EXPECT_FALSE(window->Dialog().IsPortOpen());
    EXPECT_EQ(driver.Done(), 2);
}
