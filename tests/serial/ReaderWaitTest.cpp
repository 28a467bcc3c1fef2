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
