#include "CommandLineUpload.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "dialog/ControlIds.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const kCompleted = "Update completed.";
const char* const kErrorEnd = "Error occurred.  Please try again.";

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
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].devicePath == path)
            return static_cast<int>(i);
    }
    for (size_t i = 0; i < list.size(); ++i) {
        std::error_code ec;
        if (std::filesystem::equivalent(list[i].devicePath, path, ec))
            return static_cast<int>(i);
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
            list.push_back(SSerInfo{path, "", path, false, path});
    };
    return services;
}

bool CCommandLineUpload::ReportMessages(CHeadlessHost& host) {
    const std::vector<std::string>& messages = host.Messages();
    const bool any = messages.size() > m_messagesSeen;
    for (; m_messagesSeen < messages.size(); ++m_messagesSeen) {
        m_report.Message(messages[m_messagesSeen]);
    }
    return any;
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

EUploadResult CCommandLineUpload::Run(const SUploadRequest& request) {
    m_messagesSeen = 0;
    CHeadlessHost host;
    CTillerbyDlg dlg(host,
                     WithExplicitPort(m_services, request.port,
                                      [this](const std::string& text) { m_report.Message(text); }));
    host.Attach(&dlg);
    dlg.OnInitDialog();
    ReportMessages(host);

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
            return EUploadResult::Refused;
    }

    const int port = FindPort(dlg.PortList(), request.port);
    if (port < 0 || !host.SelectItem(ids::kPortList, port)) {
        m_report.Message("Port " + request.port + " cannot be chosen");
        return EUploadResult::Refused;
    }
    host.Click(ids::kConnect);
    if (ReportMessages(host) || !dlg.IsPortOpen())
        return EUploadResult::Refused;

    m_report.Status(host.GetWindowText(ids::kStatus));
    const bool started = host.Click(ids::kUpdate);
    if (ReportMessages(host) || !started) {
        if (!started)
            m_report.Message("Nothing to upload: choose a dial or a table");
        CloseLine(host, dlg);
        return EUploadResult::Refused;
    }
    const EUploadResult result = Serve(host, request.timeout);
    CloseLine(host, dlg);
    return result;
}

EUploadResult CCommandLineUpload::Serve(CHeadlessHost& host, std::chrono::milliseconds timeout) {
    std::string status = host.GetWindowText(ids::kStatus);
    int progress = host.Control(ids::kProgress).progress;
    Clock::time_point lastHeard = Clock::now();
    for (;;) {
        const std::string nowStatus = host.GetWindowText(ids::kStatus);
        const int nowProgress = host.Control(ids::kProgress).progress;
        ReportMessages(host);  // e.g. the line to the device was lost
        if (nowStatus != status)
            m_report.Status(status = nowStatus);
        if (nowProgress != progress)
            m_report.Progress(progress = nowProgress);
        if (status == kCompleted)
            return EUploadResult::Completed;
        if (status == kErrorEnd)
            return EUploadResult::ErrorEnd;

        const auto silent =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastHeard);
        if (silent >= timeout) {
            const std::string seconds = Seconds(timeout);
            m_report.Message("No answer from the device for " + seconds +
                             (seconds == "1" ? " second" : " seconds") +
                             "; the upload is not complete");
            return EUploadResult::NoAnswer;
        }
        if (host.RunNotification(std::min(timeout - silent, kCheckInterval))) {
            lastHeard = Clock::now();
        }
    }
}

void CCommandLineUpload::CloseLine(CHeadlessHost& host, CTillerbyDlg& dlg) {
    if (!dlg.IsPortOpen())
        return;
    // Disconnect as the user would; while an upload holds the dialog locked, as closing
    // the window would.
    if (!host.Click(ids::kConnect))
        dlg.OnEndDialog();
}
