#pragma once

#include <optional>
#include <string>

// The dial workshop as a program of its own (kestran-dial without a command, or --window):
// the application as Kestran's, and the workshop's window for the life of the program.
// Answers the program's exit code.
int RunWorkshopWindow(int& argc, char** argv, const std::optional<std::string>& picture);
