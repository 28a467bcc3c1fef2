#pragma once

#include "platform/win32/WinApi.h"

#include <string>
#include <vector>

#include "res/DialogTemplate.h"

// Turns a dialog template of src/res into the in-memory template (DLGTEMPLATEEX) that the
// dialog manager makes the window and its controls from: one item per control, in template
// order, which is also the tab order and gives each up-down control its buddy.
namespace dialogbuilder {

DWORD DialogStyle(const res::SDialogDef& dialog);
DWORD DialogExStyle(const res::SDialogDef& dialog);
// The window class and styles of a control of that kind with those style bits.
std::wstring ControlClass(const res::SControlDef& control);
DWORD ControlStyle(const res::SControlDef& control);

class CDialogTemplate {
public:
    explicit CDialogTemplate(const res::SDialogDef& dialog);

    // For CreateDialogIndirectParamW and DialogBoxIndirectParamW; valid while this lives.
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Word(WORD word) { m_words.push_back(word); }
    void Dword(DWORD value);
    void Text(const std::string& utf8);
    void Ordinal(WORD ordinal);
    void AlignToDword();
    void Control(const res::SControlDef& control);

    // Words, so that every item can start on a DWORD boundary counted from the start; the
    // allocation itself is aligned for any fundamental type.
    std::vector<WORD> m_words;
};

}  // namespace dialogbuilder
