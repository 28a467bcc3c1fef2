#pragma once

#include "dialog/CTillerbyDlg.h"

// The machine's serial ports for the program: how they are found and opened.
SDialogServices MakePlatformServices();
