#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "upload/UploadFixture.h"

namespace {

// Lets the reader thread look at the line only when the test grants it a look, so the
// test knows when the reader has taken the data-consumed event and that it cannot take
// it again unseen.
struct SGate {
    std::mutex mutex;
    std::condition_variable cv;
    int looks = 0;
    bool open = false;

    void Grant() {
        std::lock_guard<std::mutex> lock(mutex);
        ++looks;
        cv.notify_all();
    }
    void Pass() {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait(lock, [this] { return looks > 0 || open; });
        if (looks > 0) {
            --looks;
        }
    }
    void OpenForGood() {
        std::lock_guard<std::mutex> lock(mutex);
        open = true;
        cv.notify_all();
    }
};

class CGatedPort : public CFakeSerialPort {
public:
    CGatedPort(std::shared_ptr<SFakeLine> line, SGate& gate)
        : CFakeSerialPort(std::move(line)), m_gate(gate), m_owner(std::this_thread::get_id()) {}

    int BytesWaiting() override {
        if (std::this_thread::get_id() != m_owner) {
            m_gate.Pass();
        }
        return CFakeSerialPort::BytesWaiting();
    }
    int Read(void* buffer, int max) override {
        return failReads ? -1 : CFakeSerialPort::Read(buffer, max);
    }
    void CancelWait() override {
        m_gate.OpenForGood();
        CFakeSerialPort::CancelWait();
    }

    bool failReads = false;  // used on the test's thread only

private:
    SGate& m_gate;
    std::thread::id m_owner;
};

}  // namespace

class DataConsumedTest : public UploadFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        portFactory = [this] {
            auto port = std::make_unique<CGatedPort>(line, gate);
            this->port = port.get();
            return port;
        };
        Connect();
    }

    // The device sends `bytes`; the reader sees bytes waiting, takes the event and posts.
    void ReaderPosts(const std::string& bytes) {
        const int before = host.PendingNotifications();
        line->Send(bytes);
        gate.Grant();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (host.PendingNotifications() == before) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the reader did not post";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(dlg->DataConsumedSignalled());
    }
    // The posted notification reaches the dialog, which must release the reader whatever it
    // made of the bytes: answers what it wrote.
    Lines Handle() {
        EXPECT_TRUE(host.RunNotification(std::chrono::seconds(1)));
        const Lines written = Writes();
        EXPECT_TRUE(dlg->DataConsumedSignalled());
        return written;
    }

    SGate gate;
    CGatedPort* port = nullptr;
};

TEST_F(DataConsumedTest, HandlerReleasesTheReaderOnEveryPath) {
    ChooseIas(ShortDial);

    ReaderPosts("U");
    dlg->OnSerialData(0, 0);  // not a notification about waiting bytes: nothing is read
    EXPECT_TRUE(dlg->DataConsumedSignalled());

    ReaderPosts("");
    EXPECT_EQ(Handle(), Lines{});  // the "U" before any Update

    EXPECT_EQ(PressUpdate(), Lines{"LOAD=11\r\n"});
    ReaderPosts("READY");
    EXPECT_EQ(Handle(), Lines{Plain(ShortDial(0))});

    ReaderPosts("U");
    EXPECT_EQ(Handle(), Lines{Plain(ShortDial(1))});

    ReaderPosts("READY\r\n");
    EXPECT_EQ(Handle(), Lines{});

    ReaderPosts("U");
    port->failReads = true;
    EXPECT_EQ(Handle(), Lines{});
    port->failReads = false;
    {
        std::lock_guard<std::mutex> lock(line->mutex);
        line->incoming.clear();
    }

    ReaderPosts("x");
    EXPECT_EQ(Handle(), Lines{"ERR\r\n"});
}
