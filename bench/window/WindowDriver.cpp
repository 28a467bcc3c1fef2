#include "bench/window/WindowDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QTimer>
#include <deque>

#include "app/qt/DialogWindow.h"
#include "bench/window/PeakMemory.h"
#include "kestran-upload/CommandLineUpload.h"
#include "res/ControlIds.h"
#include "serial/PlatformServices.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWatchMs = 20;

// Plays the person in front of the window.
class CWindowDriver {
public:
    CWindowDriver(const SWindowRun& run, SWindowResult& result)
        : m_run(run),
          m_result(result),
          m_window(WithExplicitPort(MakePlatformServices(), run.port,
                                    [this](const std::string& text) { Fail(text); })) {}

    void Run() {
        QObject::connect(&m_watch, &QTimer::timeout, [this] { Watch(); });
        m_watch.start(kWatchMs);
        QTimer::singleShot(0, &m_window, [this] { Start(); });
        m_window.exec();
        m_watch.stop();
        m_result.status = m_window.GetWindowText(ids::kStatus);
        m_result.portGivenBack =
            !m_window.Dialog().IsPortOpen() && m_window.Dialog().ReaderExitCode() != 1;
        m_result.peakKib = PeakResidentKib();
    }

private:
    void Fail(const std::string& why) {
        if (m_result.failure.empty())
            m_result.failure = why;
    }

    void Click(int id) {
        if (auto* button = qobject_cast<QAbstractButton*>(m_window.Control(id)))
            button->click();
    }

    // Runs inside the window's own loop, as the person's clicks would.
    void Start() {
        for (const auto& [file, button] : {std::pair{m_run.ias, ids::kSelectIasDial},
                                           std::pair{m_run.tas, ids::kSelectTasDial}}) {
            if (file.empty())
                continue;
            m_files.push_back(file);
            Click(button);  // returns when the file dialog has been answered
        }
        auto* ports = qobject_cast<QComboBox*>(m_window.Control(ids::kPortList));
        const int index = FindPort(m_window.Dialog().PortList(), m_run.port);
        if (ports == nullptr || index < 0)
            return End("the port " + m_run.port + " is not in the list");
        ports->setCurrentIndex(index);
        emit ports->activated(index);
        if (m_run.table)
            Click(ids::kMaxSpeedCheck);
        Click(ids::kConnect);
        if (!m_window.Dialog().IsPortOpen())
            return End("the port did not open");

        auto* progress = qobject_cast<QProgressBar*>(m_window.Control(ids::kProgress));
        QObject::connect(progress, &QProgressBar::valueChanged, [this](int value) {
            if (m_run.closeAtPercent > 0 && value >= m_run.closeAtPercent && !m_closing) {
                m_closing = true;
                // A person's click on the close box comes as an event of its own.
                QTimer::singleShot(0, &m_window, [this] {
                    m_result.closedMidway = m_window.Dialog().IsUploadRunning();
                    m_window.close();
                });
            }
        });
        m_result.peakBeforeUploadKib = PeakResidentKib();
        m_started = Clock::now();
        m_uploading = true;
        Click(ids::kUpdate);
    }

    void End(const std::string& failure) {
        if (!failure.empty())
            Fail(failure);
        m_uploading = false;
        m_window.close();
    }

    void Watch() {
        // Modal dialogs first: a file dialog gets its file, a message box is a failure.
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (m_files.empty() || name == nullptr) {
                dialog->reject();
                return;
            }
            name->setText(QString::fromStdString(m_files.front()));
            m_files.pop_front();
            static_cast<QDialog*>(dialog)->accept();
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (m_closing && box->text().toStdString() == CTillerbyDlg::kCloseQuestion) {
                m_result.closeAsked = true;
                box->button(QMessageBox::Yes)->click();
                return;
            }
            Fail(box->text().toStdString());
            box->accept();
            return;
        }
        if (!m_uploading)
            return;
        const auto took = Clock::now() - m_started;
        if (!m_window.Dialog().IsUploadRunning()) {
            m_result.uploadSeconds = std::chrono::duration<double>(took).count();
            m_result.completed = m_window.Dialog().LastUploadResult() == EUploadResult::Completed;
            End(m_result.completed ? "" : m_window.GetWindowText(ids::kStatus));
        } else if (took > m_run.timeout) {
            End("no end of the upload within the time-out");
        }
    }

    const SWindowRun& m_run;
    SWindowResult& m_result;
    CDialogWindow m_window;
    QTimer m_watch;
    std::deque<std::string> m_files;
    bool m_uploading = false;
    bool m_closing = false;
    Clock::time_point m_started;
};

}  // namespace

SWindowResult RunWindowUpload(const SWindowRun& run) {
    SWindowResult result;
    CWindowDriver(run, result).Run();
    return result;
}
