#pragma once

#include "dialog/CTillerbyDlg.h"

// The dialog's services on this machine: the port list from sysfs and the live virtual
// gauges, and serial ports on terminal devices.
SDialogServices MakePlatformServices();
