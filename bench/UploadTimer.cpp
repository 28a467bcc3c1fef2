#include "bench/UploadTimer.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "bench/GaugeSession.h"
#include "kestran-gauge/WireTime.h"
#include "kestran-upload/CommandLineUpload.h"
#include "serial/PlatformServices.h"
#include "serial/posix/PosixSerialPort.h"
#include "support/ChildProcess.h"
#include "support/FileBytes.h"

namespace {

using Clock = std::chrono::steady_clock;
using TimePoints = std::vector<Clock::time_point>;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// When the tool's side did its steps: its thread woke for input, read it, wrote a line.
struct SToolTimes {
    TimePoints wakes, reads, writes;
    int notifications = 0;
    SToolTimes() {
        for (TimePoints* times : {&wakes, &reads, &writes})
            times->reserve(1 << 17);
    }
};

// The terminal port with the time of each step noted. Each list is written by one thread
// only: wake-ups by the reader thread, reads and writes by the dialog's.
class CTimedPort : public CPosixSerialPort {
public:
    // Made on the dialog's thread, which asks for the waiting bytes once per notification.
    explicit CTimedPort(SToolTimes& times)
        : m_times(times), m_dialogThread(std::this_thread::get_id()) {}
    int BytesWaiting() override {
        if (std::this_thread::get_id() == m_dialogThread)
            ++m_times.notifications;
        return CPosixSerialPort::BytesWaiting();
    }
    WaitResult WaitForInput() override {
        const WaitResult result = CPosixSerialPort::WaitForInput();
        if (result == WaitResult::Input)
            m_times.wakes.push_back(Clock::now());
        return result;
    }
    int Read(void* buffer, int max) override {
        const int n = CPosixSerialPort::Read(buffer, max);
        if (n > 0)
            m_times.reads.push_back(Clock::now());
        return n;
    }
    uint32_t Write(const void* data, uint32_t n) override {
        m_times.writes.push_back(Clock::now());
        return CPosixSerialPort::Write(data, n);
    }

private:
    SToolTimes& m_times;
    std::thread::id m_dialogThread;
};

class CQuietReport : public IUploadReport {
public:
    void Message(const SMessage& message) override { messages += message.text + "; "; }
    void Status(const std::string&) override {}
    void Progress(int) override {}
    void Verbose(const std::string&) override {}
    std::string messages;
};

// The first time in `times` not before `after`, or `after` itself when there is none.
Clock::time_point FirstFrom(const TimePoints& times, Clock::time_point after) {
    const auto found = std::lower_bound(times.begin(), times.end(), after);
    return found == times.end() ? after : *found;
}

SUploadFigures Failed(const std::string& why) {
    SUploadFigures failed;
    failed.failure = why;
    return failed;
}

// The figures of a finished session: each reply of the gauge followed through the tool's
// steps to the next line the gauge read.
SUploadFigures Figures(const CGaugeTimes& gauge, const SToolTimes& tool) {
    SUploadFigures f;
    f.lines = static_cast<int>(gauge.lineReads.size());
    f.uploadSeconds = Seconds(gauge.end - gauge.start);
    f.wireMinimumSeconds = Seconds(gaugewire::WireTime(gauge.bytes));
    f.lateRepliesSeconds = Seconds(gauge.late);
    for (const Clock::time_point sent : gauge.replies) {
        const Clock::time_point lineRead = FirstFrom(gauge.lineReads, sent);
        if (lineRead == sent)
            continue;  // nothing followed
        const Clock::time_point woke = std::min(FirstFrom(tool.wakes, sent), lineRead);
        const Clock::time_point read = std::clamp(FirstFrom(tool.reads, sent), woke, lineRead);
        const Clock::time_point write = std::clamp(FirstFrom(tool.writes, read), read, lineRead);
        f.roundTripsMs.push_back(
            std::chrono::duration<double, std::milli>(lineRead - sent).count());
        f.turnaroundSeconds += Seconds(lineRead - sent);
        f.toReaderSeconds += Seconds(woke - sent);
        f.handOffSeconds += Seconds(read - woke);
        f.handlerSeconds += Seconds(write - read);
        f.toGaugeSeconds += Seconds(lineRead - write);
    }
    f.notifications = tool.notifications;
    f.completed = gauge.violation.empty();
    f.failure = gauge.violation;
    return f;
}

// Whether the gauge answers this line: everything but CON and END.
bool ExpectsReply(const std::string& line) {
    return line != "CON" && line != "END";
}

}  // namespace

SUploadFigures TimeUpload(const std::string& dial, bool wireTime, std::vector<std::string>* lines) {
    CGaugeSession gauge(wireTime);
    if (!gauge.IsServing())
        return Failed("no pseudo-terminal");

    SToolTimes tool;
    SDialogServices services = MakePlatformServices();
    services.makeSerialPort = [&tool] { return std::make_unique<CTimedPort>(tool); };
    CQuietReport report;
    CCommandLineUpload upload(services, report);
    SUploadRequest request;
    request.port = gauge.Port();
    request.ias = dial;
    const EUploadResult result = upload.Run(request);
    gauge.Stop();

    SUploadFigures f = Figures(gauge.times, tool);
    if (result != EUploadResult::Completed) {
        f.completed = false;
        f.failure = report.messages + f.failure;
    }
    *lines = gauge.times.lines;
    return f;
}

SUploadFigures TimeReplay(const std::vector<std::string>& lines, bool wireTime) {
    CGaugeSession gauge(wireTime);
    if (!gauge.IsServing())
        return Failed("no pseudo-terminal");
    SToolTimes tool;
    CTimedPort port(tool);
    if (!port.Open(gauge.Port()))
        return Failed("cannot open " + gauge.Port());
    port.ApplyLineSettings();
    for (const std::string& line : lines) {
        const std::string bytes = line + "\r\n";
        port.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
        if (!ExpectsReply(line))
            continue;
        char reply[16];
        while (port.WaitForInput() == ISerialPort::WaitResult::Input &&
               port.Read(reply, sizeof reply) <= 0) {
        }
    }
    port.Close();
    gauge.Stop();
    SUploadFigures f = Figures(gauge.times, tool);
    f.notifications = 0;  // no dialog: the one thread asked for the bytes itself
    return f;
}

namespace {

// Runs `program` with the toolkit on its offscreen platform; its output goes to `outFile`.
// Answers its exit status, -1 when it could not run, minus the signal's number when one
// ended it.
int RunOffscreen(const std::string& program, const std::vector<std::string>& args,
                 const std::string& outFile) {
    CChildProcess child(program, args, {"QT_QPA_PLATFORM=offscreen"}, outFile, "/dev/null");
    if (!child.Started())
        return -1;
    return child.Wait(std::chrono::hours(24)).value_or(-1);
}

// The value of the "name value" line of `text`, or empty.
std::string Value(const std::string& text, const std::string& name) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(name + " ", 0) == 0)
            return line.substr(name.size() + 1);
    }
    return {};
}

}  // namespace

SWindowFigures TimeWindowUpload(const std::string& program, const std::string& dial,
                                bool wireTime) {
    SWindowFigures figures;
    CGaugeSession gauge(wireTime);
    if (!gauge.IsServing()) {
        figures.upload = Failed("no pseudo-terminal");
        return figures;
    }
    const std::string outFile = dial + ".window-out";
    const int status = RunOffscreen(
        program, {"--port", gauge.Port(), "--ias", dial, "--tas", dial, "--table"}, outFile);
    gauge.Stop();
    const std::string text = ReadFileBytes(outFile);

    figures.upload = Figures(gauge.times, SToolTimes());
    if (status != 0) {
        figures.upload.completed = false;
        const std::string failure = Value(text, "failure");
        figures.upload.failure = "the window program ended with status " + std::to_string(status) +
                                 (failure.empty() ? "" : ": " + failure);
    }
    figures.peakBeforeUploadKib = std::atol(Value(text, "peak-before-upload-kib").c_str());
    figures.peakKib = std::atol(Value(text, "peak-kib").c_str());
    return figures;
}

SUploadFigures TimeWindowsUploader(const std::string& exe, const std::string& dial) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr)
        return Failed("WINEPREFIX is not set");
    CGaugeSession gauge(false);
    if (!gauge.IsServing())
        return Failed("no pseudo-terminal");
    const std::string port = "COM9";
    const std::string link = std::string(prefix) + "/dosdevices/com9";
    const std::string log = dial + ".wine-out";
    // The server takes port mappings as it starts, and remakes the device links a moment
    // after the first program of the prefix starts.
    const std::string ports = "HKLM\\Software\\Wine\\Ports";
    RunOffscreen(
        "/usr/bin/env",
        {"wine", "reg", "add", ports, "/v", port, "/t", "REG_SZ", "/d", gauge.Port(), "/f"}, log);
    RunOffscreen("/usr/bin/env", {"wineserver", "-k"}, log);
    RunOffscreen("/usr/bin/env", {"wineserver", "-w"}, log);
    RunOffscreen("/usr/bin/env", {"wine", "cmd", "/c", "exit"}, log);
    for (int i = 0; i < 200; ++i) {
        std::error_code ec;
        if (std::filesystem::read_symlink(link, ec) == gauge.Port())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const int status =
        RunOffscreen("/usr/bin/env", {"wine", exe, "--port", port, "--ias", "Z:" + dial}, log);
    RunOffscreen("/usr/bin/env", {"wine", "reg", "delete", ports, "/v", port, "/f"}, log);
    gauge.Stop();
    SUploadFigures figures = Figures(gauge.times, SToolTimes());
    if (status != 0) {
        figures.completed = false;
        figures.failure = "kestran-upload.exe ended with status " + std::to_string(status);
    }
    return figures;
}
