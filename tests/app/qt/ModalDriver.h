#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>

// Plays the user in front of modal dialogs and popup menus: each one that opens gets the
// next queued action, run from a timer inside the dialog's own event loop.
class CModalDriver {
public:
    using Action = std::function<void(QWidget* modal)>;

    CModalDriver() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }

    void Then(Action action) { m_actions.push_back(std::move(action)); }
    size_t Pending() const { return m_actions.size(); }

    // What a message box showed.
    struct SMessage {
        std::string caption, text;
        int buttons = 0;
        bool okOnly = false;
        std::string reason;  // the informative text beneath
    };
    std::vector<SMessage> messages;

    // Queues: read the message box and press OK.
    void AcceptMessage() {
        Then([this](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr)
                return Close(modal);
            SMessage m{box->windowTitle().toStdString(), box->text().toStdString(),
                       static_cast<int>(box->buttons().size()),
                       box->standardButtons() == QMessageBox::Ok,
                       box->informativeText().toStdString()};
            messages.push_back(m);
            box->button(QMessageBox::Ok)->click();
        });
    }

    // Queues: read the question and answer Yes or No.
    void AnswerQuestion(bool yes) {
        Then([this, yes](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr)
                return Close(modal);
            messages.push_back({box->windowTitle().toStdString(), box->text().toStdString(),
                                static_cast<int>(box->buttons().size()), false,
                                box->informativeText().toStdString()});
            QAbstractButton* answer = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
            if (answer == nullptr)
                return Close(modal);
            answer->click();
        });
    }

    // Queues: choose `path` in the file dialog (after `inspect` has seen it), or cancel it.
    void ChooseFile(const std::string& path, std::function<void(QFileDialog*)> inspect = nullptr) {
        Then([path, inspect](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr)
                return Close(modal);
            if (inspect)
                inspect(dialog);
            // Typed into the file name box, as a user would; selectFile() leaves that box
            // alone while it has the focus.
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (name == nullptr)
                return Close(modal);
            name->setText(QString::fromStdString(path));
            static_cast<QDialog*>(dialog)->accept();
        });
    }
    void CancelFile() {
        Then([](QWidget* modal) { Close(modal); });
    }

private:
    static void Close(QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }

    void Poll() {
        QWidget* modal = QApplication::activePopupWidget();
        if (modal == nullptr)
            modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last || !modal->isVisible() || m_actions.empty()) {
            return;
        }
        m_last = modal;
        Action action = std::move(m_actions.front());
        m_actions.pop_front();
        // Run outside the timer's slot: a dialog the action opens must not stop the timer.
        QTimer::singleShot(0, modal, [action = std::move(action), modal] { action(modal); });
    }

    QTimer m_timer;
    std::deque<Action> m_actions;
    QPointer<QWidget> m_last;
};
