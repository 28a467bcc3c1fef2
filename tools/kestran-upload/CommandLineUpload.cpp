#include "kestran-upload/CommandLineUpload.h"

#include <cstdio>
#include <exception>

#include "angles/GacLine.h"
#include "angles/NumberText.h"
#include "kestran-upload/LatencyWarning.h"
#include "res/ControlIds.h"
#include "serial/PortNames.h"
#include "upload/UploadCost.h"
#include "upload/WireFormat.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const kInterrupted = "Update interrupted.";
const char* const kIncomplete =
    "The gauge holds an incomplete dial until the next complete upload.";
// The window's words ask for its Disconnect button, which a command line does not have.
const char* const kLineLost =
    "The connection to the gauge was lost; check the cable and run the upload again.";

// How often the serving loop looks whether the reader thread is still there.
constexpr std::chrono::milliseconds kCheckInterval{100};

std::string Seconds(std::chrono::milliseconds time) {
    const long long ms = time.count();
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, ".%03lld", ms % 1000);
        text += fraction;
        while (text.back() == '0')
            text.pop_back();
    }
    return text;
}

}  // namespace

int FindPort(const SerInfoList& list, const std::string& path) {
    // The record with this very path before one that names the same port otherwise.
    for (const bool exact : {true, false}) {
        for (size_t i = 0; i < list.size(); ++i) {
            if (exact ? list[i].devicePath == path : portnames::NamesPort(list[i], path))
                return static_cast<int>(i);
        }
    }
    return -1;
}

SDialogServices WithExplicitPort(SDialogServices services, const std::string& path,
                                 std::function<void(const std::string&)> warn) {
    services.findSerialPorts = [find = services.findSerialPorts, path,
                                warn = std::move(warn)](SerInfoList& list) {
        try {
            if (find) {
                find(list);
            } else {
                list.clear();
            }
        } catch (const std::exception& e) {
            warn(std::string("the port list is incomplete: ") + e.what());
        }
        if (FindPort(list, path) < 0)
            list.push_back(SSerInfo{portnames::DevicePathOf(path), "", path, false, path});
    };
    return services;
}

bool CCommandLineUpload::ReportMessages(CHeadlessHost& host) {
    const std::vector<std::string>& messages = host.Messages();
    const std::vector<std::string>& reasons = host.MessageReasons();
    const bool any = messages.size() > m_messagesSeen;
    for (; m_messagesSeen < messages.size(); ++m_messagesSeen) {
        const std::string& text = messages[m_messagesSeen];
        const std::string& reason = reasons[m_messagesSeen];
        const std::string shown = text == CTillerbyDlg::kLineLostMessage ? kLineLost : text;
        Tell({shown, reason});
    }
    return any;
}

void CCommandLineUpload::Tell(const SMessage& message) {
    m_lastMessage = message;
    m_report.Message(message);
}

bool CCommandLineUpload::ListPorts(std::string* lines) {
    m_messagesSeen = 0;
    CHeadlessHost host;
    CTillerbyDlg dlg(host, m_services);
    host.Attach(&dlg);
    dlg.OnInitDialog();
    for (const SSerInfo& port : dlg.PortList()) {
        *lines += port.devicePath + "\t" + port.friendlyName + "\n";
    }
    return !ReportMessages(host);
}

bool CCommandLineUpload::Choose(CHeadlessHost& host, CTillerbyDlg& dlg,
                                const SUploadRequest& request) {
    // The window says it at Update; here nothing of the line need be touched to know.
    if (request.table && !request.tas) {
        Tell(CTillerbyDlg::kTableNeedsTasMessage);
        return false;
    }
    // The user's choices, in the order a person would make them; the first refusal ends.
    struct SChoice {
        const std::optional<std::string>& file;
        int button;
    };
    for (const SChoice& choice :
         {SChoice{request.ias, ids::kSelectIasDial}, SChoice{request.tas, ids::kSelectTasDial},
          SChoice{request.table, ids::kLoad}}) {
        if (!choice.file)
            continue;
        host.QueueFileDialogAnswer(*choice.file);
        host.Click(choice.button);
        if (ReportMessages(host))
            return false;
    }
    return !request.table || CheckTable(host, dlg, request);
}

bool CCommandLineUpload::CheckInput(const SUploadRequest& request) {
    m_messagesSeen = 0;
    CHeadlessHost host;
    CTillerbyDlg dlg(host, SDialogServices{});  // the choices need no port
    host.Attach(&dlg);
    dlg.OnInitDialog();
    host.ClearMessages();
    return Choose(host, dlg, request);
}

EUploadResult CCommandLineUpload::Run(const SUploadRequest& request) {
    m_messagesSeen = 0;
    m_lastMessage = SMessage("");
    const SDialogServices services =
        WithExplicitPort(m_services, request.port, [this](const std::string& text) { Tell(text); });
    CHeadlessHost host;
    CTillerbyDlg dlg(host, services);
    host.Attach(&dlg);
    dlg.OnInitDialog();
    ReportMessages(host);
    const EUploadResult result = Upload(host, dlg, request);
    m_linesSent = dlg.Upload().LinesMade();
    return result;
}

EUploadResult CCommandLineUpload::Upload(CHeadlessHost& host, CTillerbyDlg& dlg,
                                         const SUploadRequest& request) {
    if (!Choose(host, dlg, request))
        return EUploadResult::Refused;
    if (Interrupted())
        return Stop(host, dlg, EUploadResult::Interrupted);

    const int port = FindPort(dlg.PortList(), request.port);
    if (port < 0 || !host.SelectItem(ids::kPortList, port)) {
        Tell("Port " + request.port + " cannot be chosen");
        return EUploadResult::Refused;
    }
    host.Click(ids::kConnect);
    if (ReportMessages(host) || !dlg.IsPortOpen())
        return EUploadResult::Refused;
    WarnOfLatency(dlg, request, dlg.PortList()[static_cast<size_t>(port)].devicePath);

    m_report.Status(host.GetWindowText(ids::kStatus));
    const bool started = host.Click(ids::kUpdate);
    if (ReportMessages(host) || !started) {
        if (!started)
            Tell("Nothing to upload: choose a dial or a table");
        CloseLine(host, dlg);
        return EUploadResult::Refused;
    }
    return Stop(host, dlg, Serve(host, dlg, request.timeout));
}

void CCommandLineUpload::WarnOfLatency(CTillerbyDlg& dlg, const SUploadRequest& request,
                                       const std::string& path) {
    if (!m_latencyCheck)
        return;
    const std::optional<SAdapterLatency> latency = m_latencyCheck(path);
    if (!latency)
        return;
    std::vector<SPixelView> dials;
    if (request.ias)
        dials.push_back(dlg.IasUploadImage().View());
    if (request.tas)
        dials.push_back(dlg.TasUploadImage().View());
    // Every answer of the gauge waits for the adapter's timer.
    const long long replies =
        upload::UploadCost(dials, request.table ? dlg.AngleTableLine() : std::nullopt).replies;
    if (const std::optional<SMessage> warning = LatencyWarning(request.port, *latency, replies))
        Tell(*warning);
}

bool CCommandLineUpload::CheckTable(CHeadlessHost& host, CTillerbyDlg& dlg,
                                    const SUploadRequest& request) {
    const int n = dlg.EntryCount();
    bool refused = false;
    // The window would show the entries the file leaves out with what they held before;
    // here nobody sees them.
    std::string ignored;  // the dialog's Load has said it
    const std::optional<gacfile::SGacTable> file = gacfile::ReadTable(*request.table, &ignored);
    const int angles = file ? static_cast<int>(file->angles.size()) : 0;
    if (file && angles < file->count) {
        Tell(*request.table + " gives " + std::to_string(angles) +
             (angles == 1 ? " angle" : " angles") + " for its " + std::to_string(file->count) +
             " entries");
        refused = true;
    }
    if (!dlg.CheckPlausibility()) {
        ReportMessages(host);
        refused = true;
    }
    if (refused && !request.force) {
        Tell("the table is refused; --force sends it as it stands");
        return false;
    }
    if (request.verbose) {
        std::string table = "The angle table sent: " + std::to_string(n) + " entries\n";
        for (int k = 1; k <= n; ++k) {
            const double angle = numtext::AtoF(host.GetWindowText(ids::EntryBoxId(k)));
            const std::optional<int> tenths = wire::AngleTenths(angle);
            char row[64];
            if (tenths) {
                std::snprintf(row, sizeof row, "%5d knots %4d.%d degrees\n", 10 * k, *tenths / 10,
                              *tenths % 10);
            } else {
                std::snprintf(row, sizeof row, "%5d knots   cannot be sent\n", 10 * k);
            }
            table += row;
        }
        m_report.Verbose(table);
    }
    return true;
}

EUploadResult CCommandLineUpload::Serve(CHeadlessHost& host, CTillerbyDlg& dlg,
                                        std::chrono::milliseconds timeout) {
    std::string status = host.GetWindowText(ids::kStatus);
    int progress = host.Control(ids::kProgress).progress;
    // Only acknowledgements count: a device that babbles without taking a line is silent.
    int heard = dlg.Upload().Acknowledgements();
    Clock::time_point lastHeard = Clock::now();
    for (;;) {
        const std::string nowStatus = host.GetWindowText(ids::kStatus);
        const int nowProgress = host.Control(ids::kProgress).progress;
        ReportMessages(host);  // e.g. the line to the device was lost
        if (nowStatus != status)
            m_report.Status(status = nowStatus);
        if (nowProgress != progress)
            m_report.Progress(progress = nowProgress);
        if (!dlg.IsUploadRunning())
            return dlg.LastUploadResult().value_or(EUploadResult::GaugeError);
        if (Interrupted())
            return EUploadResult::Interrupted;

        if (dlg.Upload().Acknowledgements() != heard) {
            heard = dlg.Upload().Acknowledgements();
            lastHeard = Clock::now();
        }
        const auto silent =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastHeard);
        if (silent >= timeout) {
            const std::string seconds = Seconds(timeout);
            Tell("No answer from the device for " + seconds +
                 (seconds == "1" ? " second" : " seconds") + "; the upload is not complete");
            return EUploadResult::NoAnswer;
        }
        host.RunNotification(std::min(timeout - silent, kCheckInterval));
    }
}

EUploadResult CCommandLineUpload::Stop(CHeadlessHost& host, CTillerbyDlg& dlg,
                                       EUploadResult result) {
    dlg.AbandonUpload(result);
    CloseLine(host, dlg);
    if (result == EUploadResult::Interrupted) {
        m_report.Status(kInterrupted);
        if (dlg.Upload().State().UploadStage != 0)
            m_report.Message(kIncomplete);
    }
    return result;
}

void CCommandLineUpload::CloseLine(CHeadlessHost& host, CTillerbyDlg& dlg) {
    if (!dlg.IsPortOpen())
        return;
    // Disconnect as the user would; while a lost line keeps the dialog locked, as closing
    // the window would.
    if (!host.Click(ids::kConnect))
        dlg.OnEndDialog();
}
