// A loading station over fake ports: which ports it loads as the port list changes, and what
// it says when the list cannot be had.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "kestran-upload/Station.h"
#include "support/FakeServices.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"
#include "support/WaitFor.h"

namespace {

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A station on a thread of its own that looks every 10 ms at a port list the test changes.
// Every port is on one fake line that never answers: an upload runs until the station ends.
class StationTest : public ::testing::Test {
protected:
    void SetUp() override {
        request.tas = WriteTestPng(dir, "dial.png", 230, 230, 32, [](int, int) {
            return SBgra{1, 2, 3, 255};
        });
        request.timeout = std::chrono::hours(1);
        services.dialog.makeSerialPort = [this] { return std::make_unique<CFakeSerialPort>(line); };
        services.dialog.findSerialPorts = [this](SerInfoList& list) {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_searches;
            if (!m_failure.empty())
                throw std::runtime_error(m_failure);
            list = m_ports;
        };
        services.pendingSignal = [this] { return m_stop.load() ? SIGINT : 0; };
    }

    void Start() {
        m_board = std::fopen(dir.File("board.txt").c_str(), "wb");
        m_results = std::fopen(dir.File("results.txt").c_str(), "wb");
        m_station = std::thread([this] {
            CFleetBoard board(m_board, false);
            SStationOptions options;
            options.pollInterval = std::chrono::milliseconds(10);
            tally = RunStation(services, request, options, board, m_results);
        });
        // The ports of the first look are present at the start, left alone.
        EXPECT_TRUE(WaitFor([&] {
            std::lock_guard<std::mutex> lock(m_mutex);
            return m_searches > 0;
        }));
    }
    void TearDown() override {
        if (m_station.joinable())
            Stop();
    }

    void Stop() {
        m_stop = true;
        m_station.join();
        std::fclose(m_board);
        std::fclose(m_results);
        board = ReadFileBytes(dir.File("board.txt"));
        results = ReadFileBytes(dir.File("results.txt"));
    }

    // The search finds `ports`, or fails with `failure` when it is not empty; then waits for
    // three more searches.
    void Searching(const SerInfoList& ports, const std::string& failure = {}) {
        int searches = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_ports = ports;
            m_failure = failure;
            searches = m_searches;
        }
        EXPECT_TRUE(WaitFor([&] {
            std::lock_guard<std::mutex> lock(m_mutex);
            return m_searches >= searches + 3;
        }));
    }

    CTempDir dir;
    std::shared_ptr<SFakeLine> line = std::make_shared<SFakeLine>();
    SUploadRequest request;
    SFleetServices services;
    SStationTally tally;
    std::string board, results;  // what the station wrote, once stopped

private:
    std::mutex m_mutex;
    SerInfoList m_ports;
    std::string m_failure;
    int m_searches = 0;
    std::atomic<bool> m_stop{false};
    std::FILE* m_board = nullptr;
    std::FILE* m_results = nullptr;
    std::thread m_station;
};

TEST_F(StationTest, APortMissingFromALookWhileItLoadsIsNotLoadedAgain) {
    Start();
    Searching(kGaugePort);
    ASSERT_TRUE(WaitFor([&] {
        std::lock_guard<std::mutex> lock(line->mutex);
        return !line->written.empty();
    }));
    Searching({});
    Searching(kGaugePort);
    Stop();
    EXPECT_EQ(line->opens, 1);
    EXPECT_EQ(Count(results, "  /dev/fake-gauge  "), 1) << results;
    EXPECT_TRUE(results.find("/dev/fake-gauge  interrupted") != std::string::npos) << results;
    EXPECT_EQ(tally.failed, 1);
}

TEST_F(StationTest, AFailingPortSearchIsToldOncePerSpell) {
    Start();
    Searching({}, "no access");
    Searching({});
    Searching({}, "no access again");
    Stop();
    EXPECT_EQ(Count(board, "the port list is incomplete: "), 2) << board;
    EXPECT_EQ(Count(board, "kestran-upload: the port list is incomplete: no access\n"), 1) << board;
    EXPECT_EQ(Count(board, "incomplete: no access again\n"), 1) << board;
}

}  // namespace
