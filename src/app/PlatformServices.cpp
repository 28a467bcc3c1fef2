#include "app/PlatformServices.h"

// No port enumeration or serial port of this platform is part of the program yet: the
// port list stays empty and Connect stays disabled until they are plugged in here.
SDialogServices MakePlatformServices() {
    return {};
}
