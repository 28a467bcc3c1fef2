// Connect and Disconnect, the reader thread and the writer of the main dialog.
#include <chrono>
#include <stdexcept>

#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"

namespace {
// How long the reader holds a notification back while the previous one is unhandled.
constexpr std::chrono::milliseconds kConsumedWait{300};
}  // namespace

void CTillerbyDlg::OnConnect() {
    if (m_portOpen.load()) {
        // Offered during an upload only when the gauge has gone silent: the upload ends
        // as an error end, so the gauge is told, before the line goes.
        AbandonUpload(EUploadResult::Interrupted);
        Disconnect();
    } else {
        Connect();
    }
}

void CTillerbyDlg::Connect() {
    const int selection = m_host.GetCurSel(ids::kPortList);
    if (selection < 0 || selection >= static_cast<int>(m_portList.size())) {
        throw std::invalid_argument("No serial port is selected: choose a port in the list first.");
    }
    std::unique_ptr<ISerialPort> port =
        m_services.makeSerialPort ? m_services.makeSerialPort() : nullptr;
    const std::string& path = m_portList[static_cast<size_t>(selection)].devicePath;
    if (!port || !port->Open(path)) {
        const std::string reason = port ? port->FailureReason() : std::string();
        m_host.MessageBox(
            {"Failed to open COM port!", reason.empty() ? path : path + ": " + reason});
        return;
    }
    port->ApplyLineSettings();
    port->DiscardInput();
    m_port = std::move(port);
    m_portOpen = true;
    m_readerExitCode = 1;
    try {
        m_readerThread = std::thread(&CTillerbyDlg::SerialReaderThread, this);
    } catch (...) {
        // Without its reader the port would look open but never deliver a reply.
        m_portOpen = false;
        m_port->Close();
        m_port.reset();
        throw;
    }
    m_host.SetWindowText(ids::kConnect, "Disconnect");
    UpdateButtonState();
}

void CTillerbyDlg::Disconnect() {
    m_portOpen = false;
    m_dataConsumed.SetEvent();  // wakes a reader waiting for the event
    if (m_port)
        m_port->CancelWait();  // wakes a reader sleeping on the line
    if (m_readerThread.joinable())
        m_readerThread.join();
    if (m_port) {
        m_port->Close();
        m_port.reset();
    }
    m_host.SetWindowText(ids::kConnect, "Connect");
    UpdateButtonState();
}

// Runs beside the user-interface thread from Connect to Disconnect. It never reads the
// port's data: it only tells the dialog that bytes are waiting, at most one notification
// in flight (or one every 300 ms when the dialog is slow).
void CTillerbyDlg::SerialReaderThread() {
    ISerialPort* port = m_port.get();
    if (port == nullptr) {
        m_readerExitCode = -1;
        return;
    }
    while (m_portOpen.load()) {
        if (port->BytesWaiting() > 0) {
            // Only this thread takes the event: set now, the wait below passes at once.
            const bool handled = m_dataConsumed.IsSignalled();
            const bool consumed = m_dataConsumed.Lock(kConsumedWait);
            m_dataConsumed.ResetEvent();
            // The bytes seen were usually those of the notification just handled, which
            // has read them: a second notification would find nothing, and cost the user-
            // interface thread a wake-up per line. Then the event goes back as it was.
            if (!handled && port->BytesWaiting() == 0) {
                if (consumed)
                    m_dataConsumed.SetEvent();
                continue;
            }
            m_host.PostSerialNotification();
        } else if (port->WaitForInput() == ISerialPort::WaitResult::Failed) {
            // The line is gone (hang-up, device unplugged): stop instead of spinning, and
            // tell the dialog, which would otherwise wait for a reply that cannot come.
            m_readerExitCode = -1;
            m_host.PostSerialNotification();
            return;
        }
    }
    m_readerExitCode = 0;
}

uint32_t CTillerbyDlg::WriteSerial(const void* data, uint32_t n) {
    if (!m_port || !m_portOpen.load())
        return 0;
    return m_port->Write(data, n);
}
