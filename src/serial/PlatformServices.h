#pragma once

#include "serial/DialogServices.h"

// The dialog's services on the machine it runs on: the port list and the serial ports of
// the platform this program is built for (src/serial/posix or src/serial/win32).
SDialogServices MakePlatformServices();
