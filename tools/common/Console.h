#pragma once

#include <cstdio>
#include <string>
#include <vector>

// What the command-line tools need of the console they run in, on each system.
namespace console {

// Gets the process ready: output in UTF-8 (the Windows console), and a reader of the output
// that goes away does not end the program (SIGPIPE).
void Prepare();

// The program's arguments without the program name, as UTF-8.
std::vector<std::string> Arguments(int argc, char** argv);

// Whether the stream is a terminal that a bar can redraw itself on.
bool IsTerminal(std::FILE* stream);

// The width of the terminal the stream shows on, in columns; 80 when it cannot be told.
int Columns(std::FILE* stream);
// When the console was opened for this run alone (a program started from Windows Explorer),
// asks for Enter before it closes with the output; anywhere else does nothing.
void HoldOwnConsole();

}  // namespace console
