#include "app/win32/AppIcon.h"

#include "res/DialogTemplate.h"

CUniqueIcon AppIcon(HINSTANCE instance, int size) {
    // Not shared: an icon of a size of its own belongs to whoever asked for it.
    return CUniqueIcon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(res::kIdrMainFrame),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}
