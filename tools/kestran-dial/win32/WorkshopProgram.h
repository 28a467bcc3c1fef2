#pragma once

#include <optional>
#include <string>

// kestran-dial.exe without a command: the dial workshop is a program of its own on Windows,
// kestran-workshop.exe beside it, which has no console. Starts it with the picture and answers
// kestran-dial's exit status: 0 once it runs, 1 when it cannot be started (said on stderr).
int StartWorkshopProgram(const std::optional<std::string>& picture);
