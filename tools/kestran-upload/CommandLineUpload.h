#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "dialog/CTillerbyDlg.h"
#include "dialog/HeadlessHost.h"

// What the uploader tells its user while it works.
class IUploadReport {
public:
    virtual ~IUploadReport() = default;
    // A message box of the dialog, or a complaint of the uploader's own.
    virtual void Message(const std::string& text) = 0;
    // The status line now reads `text`.
    virtual void Status(const std::string& text) = 0;
    // The progress bar now stands at `percent`.
    virtual void Progress(int percent) = 0;
};

// One upload as the command line asks for it.
struct SUploadRequest {
    std::string port;                          // the device path to open
    std::optional<std::string> ias;            // PNG file of the IAS dial
    std::optional<std::string> tas;            // PNG file of the TAS dial
    std::optional<std::string> table;          // gauge configuration file (.gac)
    std::chrono::milliseconds timeout{10000};  // longest silence of the device
};

// How an upload ended; the values are the program's exit status.
enum class EUploadResult {
    Completed = 0,  // "Update completed."
    ErrorEnd = 1,   // the device answered something unexpected: "Error occurred. ..."
    Refused = 2,    // the dialog refused the input (a message box), nothing or not all sent
    NoAnswer = 3,   // the device stayed silent too long
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

    // The port list as the window would show it, one "path<TAB>name" line per port; false
    // when the enumeration failed (its message is reported, the ports found are listed).
    bool ListPorts(std::string* lines);

private:
    // Passes the dialog's new message boxes on; answers whether there were any.
    bool ReportMessages(CHeadlessHost& host);
    EUploadResult Serve(CHeadlessHost& host, std::chrono::milliseconds timeout);
    void CloseLine(CHeadlessHost& host, CTillerbyDlg& dlg);

    SDialogServices m_services;
    IUploadReport& m_report;
    size_t m_messagesSeen = 0;
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
