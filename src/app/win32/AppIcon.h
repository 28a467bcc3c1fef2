#pragma once

#include "app/win32/WinGdi.h"

// The application icon (icon resource 128, a gauge face) at `size` pixels square, picked
// from the sizes the resource holds: the caption, the taskbar and the minimised window.
// Null when the module carries no such icon.
CUniqueIcon AppIcon(HINSTANCE instance, int size);
