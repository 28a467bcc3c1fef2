// A whole upload from the window's buttons to a virtual gauge on a pseudo-terminal: the
// real serial port, the reader thread, the queued notifications and the widgets together.
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <functional>
#include <set>
#include <thread>

#include "app/qt/WindowFixture.h"
#include "gauge/VirtualGauge.h"
#include "serial/posix/PosixSerialPort.h"
#include "serial/posix/PtyLine.h"

namespace {

// Runs the event loop as the program does (QTest::qWaitFor sleeps between its rounds, which
// would hold up every reply) until `done` holds or the time is up.
bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    check.start(2);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// The gauge on the far end of the terminal: what the tool writes goes to the virtual gauge,
// whose replies go back one at a time, each after the tool has written again.
class CGaugeOnPty {
public:
    CGaugeOnPty(CPtyLine& pty, CVirtualGauge& gauge)
        : m_pty(pty), m_gauge(gauge), m_thread([this] { Run(); }) {}
    ~CGaugeOnPty() { Stop(); }
    CGaugeOnPty(const CGaugeOnPty&) = delete;
    CGaugeOnPty& operator=(const CGaugeOnPty&) = delete;

    void Stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    void Run() {
        std::deque<std::string> replies;
        bool awaitingTool = false;
        while (!m_stop) {
            const std::string got = m_pty.Receive(1, std::chrono::milliseconds(20));
            if (!got.empty()) {
                SGaugeOutput out = m_gauge.Feed(got);
                replies.insert(replies.end(), out.replies.begin(), out.replies.end());
                awaitingTool = false;
            }
            if (!awaitingTool && !replies.empty()) {
                m_pty.Send(replies.front());
                replies.pop_front();
                awaitingTool = true;
            }
        }
    }

    CPtyLine& m_pty;
    CVirtualGauge& m_gauge;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

bool SamePixels(const CImage& a, const CImage* b) {
    if (b == nullptr || a.GetWidth() != b->GetWidth() || a.GetHeight() != b->GetHeight()) {
        return false;
    }
    for (int y = 0; y < a.GetHeight(); ++y) {
        for (int x = 0; x < a.GetWidth(); ++x) {
            if (std::memcmp(a.PixelAt(x, y), b->PixelAt(x, y), 4) != 0)
                return false;
        }
    }
    return true;
}

}  // namespace

class UploadOverPtyTest : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.IsOpen());
        ports = {SSerInfo{pty.SlavePath(), "", "Virtual gauge", false, "Virtual gauge"}};
        WindowFixture::SetUp();
    }

    SDialogServices Services() override {
        SDialogServices services = WindowFixture::Services();
        services.makeSerialPort = [] { return std::make_unique<CPosixSerialPort>(); };
        return services;
    }

    CPtyLine pty;
};

TEST_F(UploadOverPtyTest, BothDialsAndTheTableReachTheGaugeFromRealClicks) {
    CVirtualGauge gauge;
    CGaugeOnPty device(pty, gauge);
    CModalDriver driver;
    const std::string dials = KESTRAN_EXAMPLE_DIALS;

    ASSERT_EQ(Text(ids::kPortList), "Virtual gauge");
    Click(ids::kConnect);
    ASSERT_TRUE(window->Dialog().IsPortOpen());
    driver.ChooseFile(dials + "/ias.png");
    Click(ids::kSelectIasDial);
    driver.ChooseFile(dials + "/tas.png");
    Click(ids::kSelectTasDial);
    Click(ids::kMaxSpeedCheck);
    ASSERT_EQ(driver.Pending(), 0u);
    ASSERT_TRUE(Enabled(ids::kUpdate));

    std::vector<int> progress;
    QObject::connect(As<QProgressBar>(ids::kProgress), &QProgressBar::valueChanged,
                     [&](int value) { progress.push_back(value); });
    std::set<std::string> statuses;
    bool lockedWhileRunning = true;
    Click(ids::kUpdate);
    const bool completed = RunUntil(
        [&] {
            const std::string status = Text(ids::kStatus);
            statuses.insert(status);
            if (status.rfind("Update in progress", 0) == 0) {
                lockedWhileRunning = lockedWhileRunning && !Enabled(ids::kConnect) &&
                                     !Enabled(ids::kSelectIasDial) && !Enabled(ids::kUpdate);
            }
            return !window->Dialog().IsUploadRunning();
        },
        60000);
    device.Stop();
    ASSERT_TRUE(completed) << Text(ids::kStatus) << ", lines at the gauge " << gauge.LineCount()
                           << ", progress steps " << progress.size()
                           << (gauge.Violations().empty() ? "" : ", " + gauge.Violations().front());
    EXPECT_EQ(Text(ids::kStatus), "Update completed.");

    EXPECT_TRUE(statuses.count("Update in progress, step 1 of 2, do not close this program"));
    EXPECT_TRUE(statuses.count("Update in progress, step 2 of 2, do not close this program"));
    EXPECT_TRUE(lockedWhileRunning);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    const auto firstHalf =
        std::find_if(progress.begin(), progress.end(), [](int v) { return v > 10 && v < 40; });
    const auto secondHalf =
        std::find_if(progress.begin(), progress.end(), [](int v) { return v > 60 && v < 90; });
    EXPECT_NE(firstHalf, progress.end());
    EXPECT_NE(secondHalf, progress.end());
    EXPECT_LT(firstHalf, secondHalf);

    // The gauge holds exactly what the window holds.
    EXPECT_TRUE(gauge.Violations().empty()) << gauge.Violations().front();
    EXPECT_EQ(gauge.UploadsEnded(), 1);
    EXPECT_TRUE(SamePixels(window->Dialog().IasUploadImage(), gauge.Dial(1)));
    EXPECT_TRUE(SamePixels(window->Dialog().TasUploadImage(), gauge.Dial(2)));
    EXPECT_EQ(gauge.TableTenths(),
              std::vector<int>({75,   150,  225,  300,  500,  700,  900,  1130, 1360, 1610,
                                1860, 2080, 2250, 2410, 2560, 2690, 2820, 2940, 3060, 3180}));

    // Unlocked again, with the table's own rule.
    EXPECT_TRUE(Enabled(ids::kConnect));
    EXPECT_TRUE(Enabled(ids::kUpdate));
    EXPECT_TRUE(Enabled(ids::EntryBoxId(20)));
    EXPECT_FALSE(Enabled(ids::EntryBoxId(21)));
}
