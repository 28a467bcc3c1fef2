#include <gtest/gtest.h>

#include "serial/ReaderWait.h"

TEST(ReaderWaitTest, ADisconnectAlwaysWinsAndOnlyAPortThatFailsIsGone) {
    using readerwait::EEnd;
    constexpr uint32_t kAborted = readerwait::kErrorOperationAborted;
    struct SCase {
        bool completed;
        uint32_t error;
        bool cancelled, answers;
        EEnd end;
    };
    const SCase cases[] = {
        {true, 0, false, true, EEnd::Input},
        {true, 0, true, true, EEnd::Cancelled},
        {false, 87, true, true, EEnd::Cancelled},  // a wait begun after the mask change
        {false, kAborted, true, false, EEnd::Cancelled},
        {false, kAborted, false, true, EEnd::LookAgain},  // Wine, a driver's state change
        {false, kAborted, false, false, EEnd::LineGone},  // unplugged
        {false, 22, false, true, EEnd::LineGone},
        {false, 1167, false, false, EEnd::LineGone},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(readerwait::Judge(c.completed, c.error, c.cancelled, c.answers), c.end)
            << c.completed << " " << c.error << " " << c.cancelled << " " << c.answers;
    }
}

TEST(ReaderWaitTest, OnlyARunOfAbortsThatOutlastsAReplyPausesTheReader) {
    using std::chrono::milliseconds;
    struct SCase {
        int abortsInRow;
        milliseconds quietFor;
        milliseconds pause;
    };
    const SCase cases[] = {
        {1, milliseconds(500), milliseconds(0)},  // a driver's abort now and then
        {2, milliseconds(500), milliseconds(0)},
        {3, milliseconds(19), milliseconds(0)},  // the gauge may still be answering
        {3, milliseconds(20), milliseconds(5)},
        {200, milliseconds(999), milliseconds(5)},
        {300, milliseconds(1000), milliseconds(50)},  // idle
        {5000, milliseconds(60000), milliseconds(50)},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(readerwait::PauseBeforeLookingAgain(c.abortsInRow, c.quietFor), c.pause)
            << c.abortsInRow << " aborts in " << c.quietFor.count() << " ms";
    }
}
