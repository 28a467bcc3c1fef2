#pragma once

#include "platform/win32/WinApi.h"

#include "platform/win32/WinHandle.h"

// Owners of the window system's objects the host makes itself, so that no way out of a
// function leaks one.
using CUniqueBitmap = CWinOwner<HBITMAP, &DeleteObject>;
using CUniqueMemoryDc = CWinOwner<HDC, &DeleteDC>;
using CUniqueIcon = CWinOwner<HICON, &DestroyIcon>;
using CUniqueFont = CWinOwner<HFONT, &DeleteObject>;

// Selects an object into a device context and puts the previous one back on the way out.
class CSelection {
public:
    CSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~CSelection() { SelectObject(m_dc, m_previous); }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
