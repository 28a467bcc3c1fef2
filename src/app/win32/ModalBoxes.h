#pragma once

#include "platform/win32/WinApi.h"

#include <optional>
#include <string>

#include "base/Message.h"
#include "host/DialogHost.h"

// The modal boxes every window of the program shows alike, owned by `owner`: a message with
// its reason as a paragraph beneath, a question whose default is No, and a file dialog.
namespace modalboxes {

void ShowMessage(HWND owner, const SMessage& message);
bool AskYesNo(HWND owner, const std::string& text);
std::optional<std::string> AskForFile(HWND owner, const SFileDialogRequest& request);

}  // namespace modalboxes
