#pragma once

#include "platform/win32/WinApi.h"

#include <optional>
#include <string>

// The dial workshop as a program of its own (kestran-workshop.exe): its window for the life
// of the program, with the picture opened. Answers the program's exit code; 1 when the
// window could not be made (a message box has said why).
int RunWorkshopWindow(HINSTANCE instance, const std::optional<std::string>& picture);
