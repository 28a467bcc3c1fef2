#include "app/win32/ModalBoxes.h"

#include <commdlg.h>

#include "app/win32/FileDialogFilter.h"
#include "platform/win32/WinText.h"
#include "res/DialogTemplate.h"

namespace modalboxes {
namespace {

// Room for the longest path Windows knows, the terminating zero included.
constexpr size_t kPathBufferLength = 32768;

}  // namespace

void ShowMessage(HWND owner, const SMessage& message) {
    const std::string text =
        message.reason.empty() ? message.text : message.text + "\n\n" + message.reason;
    MessageBoxW(owner, wintext::Wide(text).c_str(), wintext::Wide(res::AppName()).c_str(), MB_OK);
}

bool AskYesNo(HWND owner, const std::string& text) {
    // No is the default: Enter alone must not throw anything away.
    return MessageBoxW(owner, wintext::Wide(text).c_str(), wintext::Wide(res::AppName()).c_str(),
                       MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

std::optional<std::string> AskForFile(HWND owner, const SFileDialogRequest& request) {
    const std::wstring filter = ToWindowsFilter(request.filter);
    const std::wstring defaultExt = wintext::Wide(request.defaultExt);
    const std::wstring folder = wintext::Wide(request.folder);
    std::wstring path = wintext::Wide(request.fileName);
    if (path.size() >= kPathBufferLength)
        path.clear();
    path.resize(kPathBufferLength, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER;
    if ((request.flags & kOfnOverwritePrompt) != 0)
        dialog.Flags |= OFN_OVERWRITEPROMPT;
    if ((request.flags & kOfnHideReadOnly) != 0)
        dialog.Flags |= OFN_HIDEREADONLY;
    if ((request.flags & kOfnFileMustExist) != 0)
        dialog.Flags |= OFN_FILEMUSTEXIST;
    // False for a cancel, and for a failure of the dialog itself: either way nothing chosen.
    const BOOL chosen = request.open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!chosen)
        return std::nullopt;
    return wintext::Utf8(path.c_str());
}

}  // namespace modalboxes
