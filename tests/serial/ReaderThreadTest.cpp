// The reader thread on a fake line: how often it announces bytes nobody handles, and a line
// that hangs up while no upload runs.
#include <chrono>
#include <map>
#include <thread>

#include "res/DialogTemplate.h"
#include "support/DialogFixture.h"
#include "support/WaitFor.h"

using namespace std::chrono_literals;

using ReaderThreadTest = DialogFixture;

TEST_F(ReaderThreadTest, AnUnhandledNotificationIsPostedAgainAfterAboutThreeHundredMs) {
    Connect();
    line->Send("U");
    ASSERT_TRUE(WaitFor([this] { return host.PendingNotifications() == 1; }, 2s));
    const auto first = std::chrono::steady_clock::now();
    // Nobody handles it: the bytes stay, and the reader gives the handler 300 ms.
    ASSERT_TRUE(WaitFor([this] { return host.PendingNotifications() == 2; }, 3s));
    const auto gap = std::chrono::steady_clock::now() - first;
    EXPECT_GT(gap, 200ms);
    EXPECT_LT(gap, 1000ms);
}

TEST_F(ReaderThreadTest, AHangUpWhileNoUploadRunsChangesNothingAndSaysNothing) {
    Connect();
    std::map<int, bool> enabled;
    for (const res::SControlDef& c : res::MainDialog().controls) {
        if (c.id >= 0)
            enabled[c.id] = host.IsWindowEnabled(c.id);
    }
    line->HangUp();
    ASSERT_TRUE(host.RunNotification(2s));
    EXPECT_EQ(dlg->ReaderExitCode(), -1);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(host.GetWindowText(ids::kStatus), "Ready");
    EXPECT_EQ(host.GetWindowText(ids::kConnect), "Disconnect");
    for (const auto& [id, was] : enabled)
        EXPECT_EQ(host.IsWindowEnabled(id), was) << id;
}
