#pragma once

#include "platform/win32/WinApi.h"

#include <memory>
#include <type_traits>

// Every kernel handle the Windows layer opens is owned by one of these, so that no way out
// of a function leaks one.
struct SHandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};
using CUniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, SHandleCloser>;

// A file handle from CreateFile, whose failure is INVALID_HANDLE_VALUE rather than null.
inline CUniqueHandle OwnFileHandle(HANDLE handle) {
    return CUniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// An owner of a `Handle` that `Free` gives back (DeleteObject, DestroyIcon, ...).
template <auto Free>
struct SFreeWith {
    template <class Handle>
    void operator()(Handle handle) const {
        Free(handle);
    }
};
template <class Handle, auto Free>
using CWinOwner = std::unique_ptr<std::remove_pointer_t<Handle>, SFreeWith<Free>>;

// A registry key opened with RegOpenKeyEx.
using CUniqueKey = CWinOwner<HKEY, &RegCloseKey>;
