#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/WinApi.h"

// Texts at the edge to the Windows API: the core keeps UTF-8; Windows speaks UTF-16 and, in
// its narrow calls, the ANSI code page.
namespace wintext {

std::wstring Wide(const std::string& utf8);
// A window's text, as UTF-8.
std::string WindowText(HWND window);
std::string Utf8(const std::wstring& wide);
// From and to the ANSI code page of the narrow calls.
std::string Utf8FromAnsi(const std::string& ansi);
std::string AnsiFromUtf8(const std::string& utf8);

// The system's own words for an error code, without the line end; "error N" when it has
// none.
std::string SystemMessage(uint32_t error);

}  // namespace wintext
