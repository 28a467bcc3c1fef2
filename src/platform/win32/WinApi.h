#pragma once

// The Windows API for this program's own code: every file includes it instead of
// <windows.h>. Windows names some functions by macros that also rename methods of the
// dialog host (GetWindowText, SetWindowText, MessageBox) and the string table (LoadString)
// in any file that sees them; the calls take their explicit wide names instead.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef GetWindowText
#undef SetWindowText
#undef MessageBox
#undef LoadString
