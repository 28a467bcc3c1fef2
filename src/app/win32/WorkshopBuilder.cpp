#include "app/win32/WorkshopBuilder.h"

#include "app/win32/WorkshopView.h"
#include "platform/win32/WinText.h"

namespace workshopbuilder {

std::wstring ControlClass(const res::SWorkshopControl& control) {
    using K = res::EWorkshopKind;
    switch (control.kind) {
        case K::DropDownList:
            return L"ComboBox";
        case K::Edit:
            return L"Edit";
        case K::Label:
        case K::Paragraph:
            return L"Static";
        case K::List:
            return L"ListBox";
        case K::View:
            return CWorkshopView::ClassName();
        default:
            return L"Button";
    }
}

DWORD ControlStyle(const res::SWorkshopControl& control) {
    using K = res::EWorkshopKind;
    DWORD style = WS_CHILD | WS_VISIBLE | (control.tabStop ? WS_TABSTOP : 0);
    switch (control.kind) {
        case K::PushButton:
            return style | BS_PUSHBUTTON;
        case K::DefaultButton:
            return style | BS_DEFPUSHBUTTON;
        case K::CheckBox:
            return style | BS_AUTOCHECKBOX;
        case K::DropDownList:
            return style | CBS_DROPDOWNLIST | WS_VSCROLL;
        case K::Edit:
            return style | ES_AUTOHSCROLL | WS_BORDER;
        case K::Label:
            return style | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE;
        case K::Paragraph:
            return style | SS_LEFT | SS_NOPREFIX;
        case K::List:
            return style | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
        case K::View:
            return style;
    }
    return style;
}

std::map<int, HWND> BuildControls(HWND parent, HINSTANCE instance,
                                  std::map<int, std::unique_ptr<CWorkshopView>>& views) {
    std::map<int, HWND> controls;
    CWorkshopView::Register(instance);
    for (const res::SWorkshopControl& def : res::WorkshopControls()) {
        void* created = nullptr;
        if (def.kind == res::EWorkshopKind::View) {
            views[def.id] = std::make_unique<CWorkshopView>();
            created = views[def.id].get();
        }
        controls[def.id] = CreateWindowExW(
            0, ControlClass(def).c_str(), wintext::Wide(def.caption).c_str(), ControlStyle(def), 0,
            0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), instance,
            created);
    }
    return controls;
}

}  // namespace workshopbuilder
