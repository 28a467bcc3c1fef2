// The reader thread's notifications on the window, and ending the program mid-upload.
#include <atomic>
#include <chrono>
#include <thread>

#include "app/qt/WindowFixture.h"

namespace {
const char* const kStepOne = "Update in progress, step 1 of 1, do not close this program";
}  // namespace

class SerialWindowTest : public WindowFixture {
protected:
    // Connects, selects an IAS dial and presses Update: the LOAD line goes out.
    void StartUpload() {
        CModalDriver driver;
        const std::string dial = WriteTestPng(dir, "ias.png", 230, 230, 32, [](int x, int y) {
            // One translucent pixel keeps the alpha channel in the file.
            const uint8_t alpha = x == 229 && y == 229 ? 128 : 255;
            return SBgra{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7, alpha};
        });
        Click(ids::kConnect);
        ASSERT_TRUE(window->Dialog().IsPortOpen());
        driver.ChooseFile(dial);
        Click(ids::kSelectIasDial);
        ASSERT_TRUE(Enabled(ids::kUpdate));
        Click(ids::kUpdate);
        ASSERT_EQ(line->TakeWrites(), std::vector<std::string>({"LOAD=11\r\n"}));
        EXPECT_FALSE(Enabled(ids::kConnect));  // locked for the upload
    }
};

TEST_F(SerialWindowTest, ALostLineEndsTheUploadAndPostsRunOnTheWindowsThread) {
    StartUpload();
    // A lost line silences the reader thread for good: the window ends the upload, says
    // why and unlocks, so Disconnect can be pressed.
    CModalDriver driver;
    driver.AcceptMessage();
    // A second message would wait for a click for ever: it is answered too, and counted.
    driver.AcceptMessage();
    line->HangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.messages.size() == 1; }, 5000));
    EXPECT_EQ(driver.messages[0].text, CTillerbyDlg::kLineLostMessage);
    EXPECT_EQ(Text(ids::kStatus), "Error occurred.  Please try again.");
    EXPECT_TRUE(Enabled(ids::kConnect));
    EXPECT_EQ(window->Dialog().ReaderExitCode(), -1);

    // From now on only the notification posted below announces data.
    {
        std::lock_guard<std::mutex> lock(line->mutex);
        line->incoming = "READY";
    }
    std::thread poster([&] { window->PostSerialNotification(); });
    poster.join();
    // Queued, not run on the posting thread.
    EXPECT_EQ(Text(ids::kStatus), "Error occurred.  Please try again.");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Text(ids::kStatus) == kStepOne; }, 5000));
    EXPECT_TRUE(line->incoming.empty());
    EXPECT_EQ(driver.messages.size(), 1u);  // the line was lost once
}

TEST_F(SerialWindowTest, EscapeDuringAnUploadAsksThenTellsTheGaugeAndJoinsTheReader) {
    StartUpload();
    line->Send("READY");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Text(ids::kStatus) == kStepOne; }, 5000));

    // A chatty device keeps acknowledging while the user presses Escape.
    std::atomic<bool> stop{false};
    std::thread device([&] {
        while (!stop) {
            line->Send("U");
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    QTest::qWait(50);
    CModalDriver driver;
    driver.AnswerQuestion(false);
    driver.AnswerQuestion(true);
    const auto escape = [this] {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.get(),
                        Qt::Key_Escape);
    };
    escape();  // No: the upload goes on
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Text(ids::kStatus), kStepOne);
    escape();  // Yes
    ASSERT_EQ(driver.messages.size(), 2u);
    EXPECT_EQ(driver.messages[1].caption, "Kestran");
    EXPECT_EQ(driver.messages[1].text, CTillerbyDlg::kCloseQuestion);
    EXPECT_EQ(driver.messages[1].buttons, 2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_FALSE(window->Dialog().IsPortOpen());
    EXPECT_EQ(window->Dialog().ReaderExitCode(), 0);
    EXPECT_FALSE(line->open);
    const std::string sent = line->written;
    EXPECT_EQ(sent.substr(sent.size() - 5), "ERR\r\n");

    // Whatever the device still sends reaches nothing.
    const auto written = line->written.size();
    QTest::qWait(50);
    stop = true;
    device.join();
    EXPECT_EQ(line->written.size(), written);
    Close();
}

TEST_F(SerialWindowTest, EnterClicksAFocusedPushButtonAndNeverEndsTheDialog) {
    Click(ids::kConnect);
    ASSERT_TRUE(window->Dialog().IsPortOpen());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    // On the focused Connect button Enter clicks it: the port closes, the dialog stays.
    W(ids::kConnect)->setFocus();
    QTest::keyClick(W(ids::kConnect), Qt::Key_Return);
    EXPECT_FALSE(window->Dialog().IsPortOpen());
    EXPECT_TRUE(window->isVisible());

    // In an angle entry or the Angle box it keeps the table being typed.
    Click(ids::kMaxSpeedCheck);
    for (int id : {ids::EntryBoxId(3), ids::kAngleBox}) {
        W(id)->setFocus();
        QTest::keyClick(W(id), Qt::Key_Return);
        EXPECT_TRUE(window->isVisible()) << id;
    }

    // In a list or on a check box it confirms, and the window stays with its port.
    Click(ids::kConnect);
    ASSERT_TRUE(window->Dialog().IsPortOpen());
    for (int id : {ids::kIasCheck, ids::kPortList, ids::kMaxSpeedList}) {
        W(id)->setFocus();
        QTest::keyClick(W(id), Qt::Key_Return);
        EXPECT_TRUE(window->isVisible()) << id;
    }
    EXPECT_TRUE(window->Dialog().IsPortOpen());
}

TEST_F(SerialWindowTest, TheSilenceTimerRunsOnTheWindowAndOffersDisconnect) {
    StartUpload();
    // The dialog's own ten seconds, shortened: only the window's timer is under test.
    window->SetTimer(CTillerbyDlg::kSilenceTimer, 20);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Text(ids::kStatus) == CTillerbyDlg::kSilenceMessage; }, 5000));
    ASSERT_TRUE(Enabled(ids::kConnect));
    Click(ids::kConnect);
    EXPECT_EQ(line->TakeWrites(), std::vector<std::string>({"ERR\r\n"}));
    EXPECT_FALSE(window->Dialog().IsPortOpen());
    // Killed with the upload's end: nothing fires any more.
    QTest::qWait(60);
    EXPECT_EQ(Text(ids::kStatus), "Error occurred.  Please try again.");
}
