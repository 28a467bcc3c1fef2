#pragma once

#include "platform/win32/WinApi.h"

#include <memory>
#include <type_traits>

// Owners of the window system's objects the host makes itself, so that no way out of a
// function leaks one.
struct SGdiObjectDeleter {
    void operator()(HGDIOBJ object) const {
        if (object != nullptr)
            DeleteObject(object);
    }
};
using CUniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, SGdiObjectDeleter>;

struct SDcDeleter {
    void operator()(HDC dc) const {
        if (dc != nullptr)
            DeleteDC(dc);
    }
};
using CUniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, SDcDeleter>;

struct SIconDestroyer {
    void operator()(HICON icon) const {
        if (icon != nullptr)
            DestroyIcon(icon);
    }
};
using CUniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, SIconDestroyer>;

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
