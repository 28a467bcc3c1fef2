#pragma once

#include <QIcon>

// The application icon: a gauge face, shown by the windows, the About box and the desktop.
QIcon AppIcon();
