#include "app/qt/ModalBoxes.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/qt/FileDialogFilter.h"
#include "res/DialogTemplate.h"

namespace modalboxes {
namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

void ShowMessage(QWidget* parent, const SMessage& message) {
    QMessageBox box(QMessageBox::NoIcon, Text(res::AppName()), Text(message.text), QMessageBox::Ok,
                    parent);
    if (!message.reason.empty())
        box.setInformativeText(Text(message.reason));
    box.exec();
}

bool AskYesNo(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, Text(res::AppName()), Text(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    // No is the default: Enter alone must not throw anything away.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> AskForFile(QWidget* parent, const SFileDialogRequest& request) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(ToQtNameFilters(request.filter));
    dialog.setDefaultSuffix(Text(request.defaultExt));
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     request.open || (request.flags & kOfnOverwritePrompt) == 0);
    if (!request.folder.empty())
        dialog.setDirectory(Text(request.folder));
    if (!request.fileName.empty())
        dialog.selectFile(Text(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace modalboxes
