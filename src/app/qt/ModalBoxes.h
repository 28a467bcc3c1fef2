#pragma once

#include <optional>
#include <string>

#include "base/Message.h"
#include "host/DialogHost.h"

class QWidget;

// The modal boxes every window of the program shows alike, over `parent`: a message with
// its reason beneath, a question whose default is No, and a file dialog.
namespace modalboxes {

void ShowMessage(QWidget* parent, const SMessage& message);
bool AskYesNo(QWidget* parent, const std::string& text);
std::optional<std::string> AskForFile(QWidget* parent, const SFileDialogRequest& request);

}  // namespace modalboxes
