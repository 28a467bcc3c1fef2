#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "dialog/CTillerbyDlg.h"
#include "dialog/HeadlessHost.h"
#include "serial/AdapterLatency.h"
#include "upload/UploadResult.h"

// What the uploader tells its user while it works.
class IUploadReport {
public:
    virtual ~IUploadReport() = default;
    // A message box of the dialog, or a complaint of the uploader's own.
    virtual void Message(const SMessage& message) = 0;
    // The status line now reads `text`.
    virtual void Status(const std::string& text) = 0;
    // The progress bar now stands at `percent`.
    virtual void Progress(int percent) = 0;
    // What --verbose asks to see, as lines.
    virtual void Verbose(const std::string& lines) = 0;
};

// One upload as the command line asks for it.
struct SUploadRequest {
    std::string port;                          // the device path to open
    std::optional<std::string> ias;            // PNG file of the IAS dial
    std::optional<std::string> tas;            // PNG file of the TAS dial
    std::optional<std::string> table;          // gauge configuration file (.gac)
    std::chrono::milliseconds timeout{10000};  // longest time without an acknowledgement
    bool force = false;    // send a table that the checks before connecting would refuse
    bool verbose = false;  // tell the knots and angles the table line will carry
};

// Runs an upload with the main dialog's own handlers on a headless host: the dials are
// chosen with the Select buttons, the table loaded with Load, the port picked in the port
// list, then Connect and Update; the device's replies are served as the window serves
// them. Every rule of the window applies. The port is closed again before Run returns.
class CCommandLineUpload {
public:
    CCommandLineUpload(SDialogServices services, IUploadReport& report)
        : m_services(std::move(services)), m_report(report) {}

    EUploadResult Run(const SUploadRequest& request);

    // Only the choices of Run, up to the checks of the table: whether the input is taken.
    // Opens no port.
    bool CheckInput(const SUploadRequest& request);

    // How many lines the last Run wrote to the port, and the last thing it told its user.
    int LinesSent() const { return m_linesSent; }
    const SMessage& LastMessage() const { return m_lastMessage; }

    // Asked once the port is open: the adapter's latency timer, to warn of a slow upload.
    void SetLatencyCheck(std::function<std::optional<SAdapterLatency>(const std::string&)> check) {
        m_latencyCheck = std::move(check);
    }

    // Asked between the steps and while the upload waits: the number of a signal that asks
    // to stop, 0 while none has.
    void SetInterruption(std::function<int()> pendingSignal) {
        m_pendingSignal = std::move(pendingSignal);
    }

    // The port list as the window would show it, one "path<TAB>name" line per port; false
    // when the enumeration failed (its message is reported, the ports found are listed).
    bool ListPorts(std::string* lines);

private:
    // Passes the dialog's new message boxes on, each with its cause; answers whether there
    // were any.
    bool ReportMessages(CHeadlessHost& host);
    void Tell(const SMessage& message);
    // Chooses the dials and loads the table as the request says; false on a refusal.
    bool Choose(CHeadlessHost& host, CTillerbyDlg& dlg, const SUploadRequest& request);
    void WarnOfLatency(CTillerbyDlg& dlg, const SUploadRequest& request, const std::string& path);
    // The checks a window user makes by looking at the table: refuses (unless forced) a
    // file that gives fewer angles than its count, or angles that do not rise.
    bool CheckTable(CHeadlessHost& host, CTillerbyDlg& dlg, const SUploadRequest& request);
    EUploadResult Upload(CHeadlessHost& host, CTillerbyDlg& dlg, const SUploadRequest& request);
    EUploadResult Serve(CHeadlessHost& host, CTillerbyDlg& dlg, std::chrono::milliseconds timeout);
    bool Interrupted() const { return m_pendingSignal && m_pendingSignal() != 0; }
    // Ends a running upload as `result` says (the device is told), then closes the port.
    EUploadResult Stop(CHeadlessHost& host, CTillerbyDlg& dlg, EUploadResult result);
    void CloseLine(CHeadlessHost& host, CTillerbyDlg& dlg);

    SDialogServices m_services;
    IUploadReport& m_report;
    std::function<int()> m_pendingSignal;
    std::function<std::optional<SAdapterLatency>(const std::string&)> m_latencyCheck;
    size_t m_messagesSeen = 0;
    int m_linesSent = 0;
    SMessage m_lastMessage{""};
};

// The services with one more port: the explicit path is added to the port list when the
// enumeration does not find it (a plain pseudo-terminal, a port behind a link), under its
// own path as name. A failed enumeration is reported through `warn`; the explicit port is
// listed all the same.
SDialogServices WithExplicitPort(SDialogServices services, const std::string& path,
                                 std::function<void(const std::string&)> warn);

// Position of the port in the list: the record with this device path, or with a path that
// names the same device; -1 when none.
int FindPort(const SerInfoList& list, const std::string& path);
