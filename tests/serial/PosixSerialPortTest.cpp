#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <future>
#include <thread>

#include "serial/PtyLine.h"
#include "serial/posix/LineSettings.h"
#include "serial/posix/PosixSerialPort.h"
#include "support/TestImages.h"

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

TEST_F(PosixSerialPortTest, OneHolderAtATimeEvenForRoot) {
    CPosixSerialPort second;
    EXPECT_FALSE(second.Open(line.SlavePath()));
    port.Close();
    EXPECT_TRUE(second.Open(line.SlavePath()));

    CPosixSerialPort other;
    EXPECT_FALSE(other.Open("/dev/pts/does-not-exist"));
    CTempDir dir;
    const std::string plainFile = WriteTestPng(dir, "not-a-port.png", 1, 1, 32,
                                               [](int, int) { return SBgra{0, 0, 0, 0}; });
    EXPECT_FALSE(other.Open(plainFile));
}

TEST_F(PosixSerialPortTest, LineSettingsGiveRawBytesAt38400AndKeepFlowControl) {
    // A terminal as a login would leave it, at 9600 baud with both kinds of flow control.
    termios before = line.Settings();
    cfsetispeed(&before, B9600);
    cfsetospeed(&before, B9600);
    before.c_iflag |= ICRNL | IXON | IXOFF | INPCK;
    before.c_oflag |= OPOST | ONLCR;
    before.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    before.c_cflag |= CRTSCTS;
    line.SetSettings(before);
    ASSERT_EQ(line.OutputSpeed(), B9600);

    port.ApplyLineSettings();
    const termios after = line.Settings();
    EXPECT_EQ(cfgetispeed(&after), B38400);
    EXPECT_EQ(cfgetospeed(&after), B38400);
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(after.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(after.c_oflag & OPOST, 0u);
    EXPECT_EQ(after.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(after.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(after.c_iflag & (IXON | IXOFF | INPCK), static_cast<tcflag_t>(IXON | IXOFF | INPCK));
    EXPECT_EQ(after.c_cflag & CRTSCTS, static_cast<tcflag_t>(CRTSCTS));

    // Flow control that was off stays off.
    before.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
    before.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    line.SetSettings(before);
    port.ApplyLineSettings();
    EXPECT_EQ(line.Settings().c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(line.Settings().c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(line.OutputSpeed(), B38400);
}

TEST(LineSettingsTest, GaugeFrameIsEightDataBitsEvenParityOneStopBit) {
    termios found{};
    found.c_cflag = CS7 | PARODD | CSTOPB | CREAD;
    const termios framed = linesettings::WithGaugeFrame(linesettings::RawAt38400(found));
    EXPECT_EQ(framed.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(framed.c_cflag & (PARENB | PARODD | CSTOPB), static_cast<tcflag_t>(PARENB));
    EXPECT_EQ(cfgetospeed(&framed), B38400);
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

TEST_F(PosixSerialPortTest, WaitEndsOnInputOnCancelAndOnHangUp) {
    port.ApplyLineSettings();
    auto input = std::async(std::launch::async, [this] { return port.WaitForInput(); });
    EXPECT_EQ(input.wait_for(50ms), std::future_status::timeout);  // sleeps while nothing comes
    line.Send("U");
    ASSERT_EQ(input.wait_for(1s), std::future_status::ready);
    EXPECT_EQ(input.get(), ISerialPort::WaitResult::Input);
    char byte;
    ASSERT_EQ(port.Read(&byte, 1), 1);

    auto cancelled = std::async(std::launch::async, [this] { return port.WaitForInput(); });
    EXPECT_EQ(cancelled.wait_for(50ms), std::future_status::timeout);
    port.CancelWait();
    ASSERT_EQ(cancelled.wait_for(1s), std::future_status::ready);
    EXPECT_EQ(cancelled.get(), ISerialPort::WaitResult::Cancelled);
    EXPECT_EQ(port.WaitForInput(), ISerialPort::WaitResult::Cancelled);  // and stays so

    CPosixSerialPort other;
    port.Close();
    ASSERT_TRUE(other.Open(line.SlavePath()));
    auto failed = std::async(std::launch::async, [&other] { return other.WaitForInput(); });
    EXPECT_EQ(failed.wait_for(50ms), std::future_status::timeout);
    line.HangUp();
    ASSERT_EQ(failed.wait_for(1s), std::future_status::ready);
    EXPECT_EQ(failed.get(), ISerialPort::WaitResult::Failed);
    EXPECT_EQ(other.BytesWaiting(), 0);
}

TEST_F(PosixSerialPortTest, WriteGivesUpAfterItsTimeOut) {
    port.ApplyLineSettings();
    FillOutput(port.Descriptor());  // the far end reads nothing
    const auto start = Clock::now();
    EXPECT_EQ(port.Write("0123456789", 10), 0u);
    const long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 145);  // 50 + 10 * 10 ms
    EXPECT_LT(elapsed, 1000);
}

TEST_F(PosixSerialPortTest, WriteReturnsWhenTheLineHangsUp) {
    port.ApplyLineSettings();
    FillOutput(port.Descriptor());
    const std::string big(2000, 'p');  // would wait 20 s for room
    const auto start = Clock::now();
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
