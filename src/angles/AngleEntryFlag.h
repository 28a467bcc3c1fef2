#pragma once

#include <string>

class IDialogHost;

// Tells the user that angle entry k (1 = 10 knots) is wrong: shows `message`, then gives
// the entry's box the keyboard focus with its whole text selected, ready to be retyped.
void FlagAngleEntry(IDialogHost& host, int k, const std::string& message);
