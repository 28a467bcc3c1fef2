#include "app/win32/DialogBuilder.h"

#include <commctrl.h>

#include "platform/win32/WinText.h"

namespace dialogbuilder {
namespace {

DWORD IfSet(unsigned bits, unsigned bit, DWORD style) {
    return (bits & bit) != 0 ? style : 0;
}

DWORD KindStyle(const res::SControlDef& c) {
    using res::ControlKind;
    switch (c.kind) {
        case ControlKind::ComboBox:
            return IfSet(c.style, res::kDropDownList, CBS_DROPDOWNLIST) |
                   IfSet(c.style, res::kSorted, CBS_SORT);
        case ControlKind::PushButton:
            return BS_PUSHBUTTON;
        case ControlKind::DefPushButton:
            return BS_DEFPUSHBUTTON;
        case ControlKind::AutoCheckBox:
            return BS_AUTOCHECKBOX;
        case ControlKind::Static:
            return SS_LEFT | IfSet(c.style, res::kNoPrefix, SS_NOPREFIX);
        case ControlKind::StaticIcon:
            return SS_ICON;
        case ControlKind::GroupBox:
            return BS_GROUPBOX;
        case ControlKind::Edit:
            return ES_LEFT | IfSet(c.style, res::kAutoHScroll, ES_AUTOHSCROLL);
        case ControlKind::Spin:
            return IfSet(c.style, res::kAlignRight, UDS_ALIGNRIGHT) |
                   IfSet(c.style, res::kAutoBuddy, UDS_AUTOBUDDY) |
                   IfSet(c.style, res::kArrowKeys, UDS_ARROWKEYS) |
                   IfSet(c.style, res::kWrap, UDS_WRAP);
        case ControlKind::Progress:
            return 0;
    }
    return 0;
}

}  // namespace

DWORD DialogStyle(const res::SDialogDef& dialog) {
    const unsigned f = dialog.frame;
    // DS_SHELLFONT: with the face "MS Shell Dlg" the system takes its current dialog font.
    return DS_SHELLFONT | IfSet(f, res::kPopup, WS_POPUP) | IfSet(f, res::kVisible, WS_VISIBLE) |
           IfSet(f, res::kCaption, WS_CAPTION) | IfSet(f, res::kSystemMenu, WS_SYSMENU) |
           IfSet(f, res::kResizableFrame, WS_THICKFRAME) |
           IfSet(f, res::kModalFrame, DS_MODALFRAME);
}

DWORD DialogExStyle(const res::SDialogDef& dialog) {
    return IfSet(dialog.frame, res::kAppWindow, WS_EX_APPWINDOW);
}

std::wstring ControlClass(const res::SControlDef& control) {
    switch (control.kind) {
        case res::ControlKind::Spin:
            return UPDOWN_CLASSW;
        case res::ControlKind::Progress:
            return PROGRESS_CLASSW;
        case res::ControlKind::ComboBox:
            return L"ComboBox";
        case res::ControlKind::Static:
        case res::ControlKind::StaticIcon:
            return L"Static";
        case res::ControlKind::Edit:
            return L"Edit";
        default:
            return L"Button";
    }
}

DWORD ControlStyle(const res::SControlDef& control) {
    const unsigned s = control.style;
    return WS_CHILD | WS_VISIBLE | KindStyle(control) | IfSet(s, res::kTabStop, WS_TABSTOP) |
           IfSet(s, res::kGroupStart, WS_GROUP) | IfSet(s, res::kVScroll, WS_VSCROLL) |
           IfSet(s, res::kBorder, WS_BORDER);
}

CDialogTemplate::CDialogTemplate(const res::SDialogDef& dialog) {
    Word(1);       // dlgVer
    Word(0xFFFF);  // signature: the extended form
    Dword(0);      // helpID
    Dword(DialogExStyle(dialog));
    Dword(DialogStyle(dialog));
    Word(static_cast<WORD>(dialog.controls.size()));
    Word(0);  // x, y: the top-left corner; the window centres itself as it opens
    Word(0);
    Word(static_cast<WORD>(dialog.w));
    Word(static_cast<WORD>(dialog.h));
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(dialog.caption);
    Word(static_cast<WORD>(dialog.font.points));
    Word(FW_NORMAL);
    Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
    Text(dialog.font.face);
    for (const res::SControlDef& control : dialog.controls)
        Control(control);
}

void CDialogTemplate::Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
}

void CDialogTemplate::Text(const std::string& utf8) {
    for (const wchar_t c : wintext::Wide(utf8))
        Word(static_cast<WORD>(c));
    Word(0);
}

void CDialogTemplate::Ordinal(WORD ordinal) {
    Word(0xFFFF);
    Word(ordinal);
}

void CDialogTemplate::AlignToDword() {
    if (m_words.size() % 2 != 0)
        Word(0);
}

void CDialogTemplate::Control(const res::SControlDef& control) {
    AlignToDword();
    Dword(0);  // helpID
    Dword(0);  // extended style
    Dword(ControlStyle(control));
    Word(static_cast<WORD>(control.x));
    Word(static_cast<WORD>(control.y));
    Word(static_cast<WORD>(control.w));
    Word(static_cast<WORD>(control.h));
    Dword(static_cast<DWORD>(control.id));  // -1, the statics' id, as 0xFFFFFFFF
    for (const wchar_t c : ControlClass(control))
        Word(static_cast<WORD>(c));
    Word(0);
    if (control.kind == res::ControlKind::StaticIcon) {
        // The caption names the icon resource by number.
        Ordinal(static_cast<WORD>(std::stoi(control.caption)));
    } else {
        Text(control.caption);
    }
    Word(0);  // no creation data
}

}  // namespace dialogbuilder
