// kestran-upload's warning of a slow adapter, in-process against the gauge program's own
// server: the lines it says the timer holds back are the replies the gauge really sends.
#if defined(KESTRAN_GAUGE_SERVER)

#include <gtest/gtest.h>

#include <fstream>

#include "kestran-upload/CommandLineUpload.h"
#include "serial/posix/PosixSerialPort.h"
#include "tools/posix/GaugeRuns.h"
#include "tools/posix/faults/ServedGauge.h"

namespace {

class CMessages : public IUploadReport {
public:
    void Message(const SMessage& message) override { text += message.text + "\n"; }
    void Status(const std::string&) override {}
    void Progress(int) override {}
    void Verbose(const std::string&) override {}
    std::string text;
};

}  // namespace

TEST(LatencyWarningRunTest, TheWarningCountsEveryReplyOfTheUpload) {
    CTempDir dir;
    const std::string ias = WriteSectorDial(dir, 1);
    const std::string tas = WriteSectorDial(dir, 2);
    const std::string table = dir.File("table.gac");
    std::ofstream(table) << "10|10.0|20.0|30.0|40.0|50.0|60.0|70.0|80.0|90.0|100.0";
    const struct {
        std::optional<std::string> ias, tas, table;
    } cases[] = {{ias, std::nullopt, std::nullopt}, {std::nullopt, tas, table}, {ias, tas, table}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table ? "with the table" : "without the table");
        CServedGauge gauge;
        ASSERT_TRUE(gauge.IsServing());
        SDialogServices services;
        services.makeSerialPort = [] { return std::make_unique<CPosixSerialPort>(); };
        CMessages report;
        CCommandLineUpload upload(services, report);
        upload.SetLatencyCheck([](const std::string&) { return SAdapterLatency{16, "set it"}; });
        SUploadRequest request;
        request.port = gauge.Port();
        request.ias = c.ias;
        request.tas = c.tas;
        request.table = c.table;
        ASSERT_EQ(upload.Run(request), EUploadResult::Completed) << report.text;
        WaitFor([&] { return gauge.UploadsEnded() == 1; });
        gauge.Stop();
        EXPECT_TRUE(Contains(
            report.text, "(its latency timer): the " + std::to_string(gauge.Replies()) + " lines"))
            << report.text << gauge.Replies() << " replies";
    }
}

#endif
