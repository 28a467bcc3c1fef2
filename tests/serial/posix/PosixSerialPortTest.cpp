#include <grp.h>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <future>
#include <thread>
#include <vector>

#include "serial/posix/LineSettings.h"
#include "serial/posix/PosixSerialPort.h"
#include "serial/posix/PtyLine.h"
#include "support/WaitFor.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Fills the line's output queue until the far end, which reads nothing, takes no more. The
// kernel moves queued bytes on behind the scenes, so the queue is full only once it has
// stayed full for a while.
void FillOutput(int fd) {
    const std::string block(4096, 'x');
    for (int fullFor = 0; fullFor < 3;) {
        if (write(fd, block.data(), block.size()) > 0) {
            fullFor = 0;
        } else {
            ++fullFor;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

// A serial driver's flags word, played by the test, with every value it was told to take.
struct SFakeDriver {
    bool offersFlags = true;
    int flags = 0;
    std::vector<int> sets;

    SSerialDriverFlags Calls() {
        return {[this](int, int& out) {
                    out = flags;
                    return offersFlags;
                },
                [this](int, int in) {
                    sets.push_back(in);
                    flags = in;
                    return true;
                }};
    }
};

class PosixSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.IsOpen());
        ASSERT_TRUE(port.Open(line.SlavePath()));
    }
    CPtyLine line;
    CPosixSerialPort port;
};

}  // namespace

TEST(LineSettingsTest, GaugeFrameIsEightDataBitsEvenParityOneStopBit) {
    termios found{};
    found.c_cflag = CS7 | PARODD | CSTOPB | CREAD;
    cfsetispeed(&found, B9600);
    cfsetospeed(&found, B9600);
    const termios framed = linesettings::WithGaugeFrame(linesettings::RawAt38400(found));
    EXPECT_EQ(framed.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(framed.c_cflag & (PARENB | PARODD | CSTOPB), static_cast<tcflag_t>(PARENB));
    // Both directions. glibc answers cfgetispeed from the bits the output speed shares, so
    // the input speed it was given is read from where it keeps it.
    EXPECT_EQ(cfgetispeed(&framed), B38400);
    EXPECT_EQ(cfgetospeed(&framed), B38400);
#ifdef _HAVE_STRUCT_TERMIOS_C_ISPEED
    EXPECT_EQ(framed.c_ispeed, static_cast<speed_t>(B38400));
#endif
}

TEST_F(PosixSerialPortTest, BytesPassUnchangedBothWays) {
    port.ApplyLineSettings();
    const std::string incoming("\r\nREADY\x03\x1a\x7f\xff\r", 11);
    line.Send(incoming);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(port.BytesWaiting(), static_cast<int>(incoming.size()));
    char buffer[64];
    ASSERT_EQ(port.Read(buffer, sizeof buffer), static_cast<int>(incoming.size()));
    EXPECT_EQ(std::string(buffer, incoming.size()), incoming);
    EXPECT_EQ(port.Read(buffer, sizeof buffer), 0);  // nothing waiting: no wait either

    const std::string outgoing = "00102030\r\nEND\n";
    EXPECT_EQ(port.Write(outgoing.data(), static_cast<uint32_t>(outgoing.size())), outgoing.size());
    EXPECT_EQ(line.Drain(), outgoing);  // no echo of the incoming bytes, no CR added
}

TEST_F(PosixSerialPortTest, WriteGivesUpAfterItsTimeOutOrWhenTheLineHangsUp) {
    port.ApplyLineSettings();
    FillOutput(port.Descriptor());  // the far end reads nothing
    auto start = Clock::now();
    EXPECT_EQ(port.Write("0123456789", 10), 0u);
    const long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 145);  // 50 + 10 * 10 ms
    EXPECT_LT(elapsed, 1000);

    const std::string big(2000, 'p');  // would wait 20 s for room
    start = Clock::now();
    auto written = std::async(std::launch::async, [this, &big] {
        return port.Write(big.data(), static_cast<uint32_t>(big.size()));
    });
    std::this_thread::sleep_for(50ms);
    line.HangUp();
    ASSERT_EQ(written.wait_for(2s), std::future_status::ready);
    EXPECT_LT(written.get(), big.size());
    EXPECT_LT(MillisecondsSince(start), 1000);

    // A write on a line that is already gone cannot start.
    EXPECT_EQ(port.Write("END\r\n", 5), 0u);
}

TEST(PosixSerialPortDiscardTest, BytesSentBeforeConnectAreNeverRead) {
    CPtyLine line;
    ASSERT_TRUE(line.IsOpen());
    line.Send("RE");  // before the port is open
    CPosixSerialPort port;
    ASSERT_TRUE(port.Open(line.SlavePath()));
    line.Send("ADY");
    port.ApplyLineSettings();
    // They would be read.
    ASSERT_TRUE(WaitFor([&port] { return port.BytesWaiting() == 5; }, 1s));

    port.DiscardInput();
    EXPECT_EQ(port.BytesWaiting(), 0);
    line.Send("U");
    ASSERT_TRUE(WaitFor([&port] { return port.BytesWaiting() == 1; }, 1s));
    char buffer[16];
    ASSERT_EQ(port.Read(buffer, sizeof buffer), 1);
    EXPECT_EQ(buffer[0], 'U');
}

// A user outside the group that owns the device: the refusal names the group to join. The
// suite runs as root, so a child of the test gives up root first.
TEST(PosixSerialPortOpenTest, AUserOutsideTheDevicesGroupIsToldWhichGroupToJoin) {
    const passwd* user = getpwnam("nobody");
    const group* owners = getgrnam("dialout");
    if (geteuid() != 0 || user == nullptr || owners == nullptr || user->pw_gid == owners->gr_gid)
        GTEST_SKIP() << "needs root, the user nobody and the group dialout";
    CPtyLine line;
    ASSERT_TRUE(line.IsOpen());
    ASSERT_EQ(chown(line.SlavePath().c_str(), 0, owners->gr_gid), 0);
    ASSERT_EQ(chmod(line.SlavePath().c_str(), 0660), 0);
    int reason[2];
    ASSERT_EQ(pipe(reason), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string said = "could not give up root";
        if (setgroups(0, nullptr) == 0 && setgid(user->pw_gid) == 0 && setuid(user->pw_uid) == 0) {
            CPosixSerialPort port;
            said = port.Open(line.SlavePath()) ? "opened" : port.FailureReason();
        }
        _exit(write(reason[1], said.data(), said.size()) < 0 ? 1 : 0);
    }
    close(reason[1]);
    waitpid(child, nullptr, 0);
    char said[512];
    const ssize_t n = read(reason[0], said, sizeof said);
    close(reason[0]);
    EXPECT_EQ(std::string(said, static_cast<size_t>(std::max<ssize_t>(n, 0))),
              "Permission denied: the device belongs to the group dialout, which this user is not "
              "in (sudo adduser $USER dialout, then log in again)");
}

TEST(LowLatencyTest, TheDriverIsAskedForLowLatencyAndGetsItsFlagsBack) {
    const int others = ASYNC_SKIP_TEST | ASYNC_SPD_HI;
    struct SCase {
        const char* what;
        bool offersFlags;
        int flagsFound;
        std::vector<int> setsAtConnect;
        std::vector<int> setsAtClose;
    };
    const SCase cases[] = {
        {"offered", true, others, {others | ASYNC_LOW_LATENCY}, {others}},
        {"not offered", false, others, {}, {}},
        {"on already", true, others | ASYNC_LOW_LATENCY, {}, {}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CPtyLine line;
        ASSERT_TRUE(line.IsOpen());
        SFakeDriver driver;
        driver.offersFlags = c.offersFlags;
        driver.flags = c.flagsFound;
        CPosixSerialPort port(driver.Calls());
        // One port object serves every Connect of a dialog: the second as the first.
        for (int connect = 1; connect <= 2; ++connect) {
            SCOPED_TRACE(connect);
            ASSERT_TRUE(port.Open(line.SlavePath()));
            port.ApplyLineSettings();
            EXPECT_EQ(driver.sets, c.setsAtConnect);
            port.Close();
            driver.sets.erase(driver.sets.begin(),
                              driver.sets.begin() + static_cast<long>(c.setsAtConnect.size()));
            EXPECT_EQ(driver.sets, c.setsAtClose);
            EXPECT_EQ(driver.flags, c.flagsFound);
            driver.sets.clear();
        }
    }
    // Pseudo-terminals offer no flags; the tests above set such lines up with the real calls.
    CPtyLine line;
    CPosixSerialPort port;
    ASSERT_TRUE(port.Open(line.SlavePath()));
    int flags = 0;
    EXPECT_FALSE(RealSerialDriverFlags().get(port.Descriptor(), flags));
}
