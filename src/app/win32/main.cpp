#include "app/win32/CTillerbyApp.h"
#include "serial/PlatformServices.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    CTillerbyApp app(instance);
    return app.InitInstance(MakePlatformServices());
}
