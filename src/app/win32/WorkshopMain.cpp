// kestran-workshop.exe: the dial workshop, a window without a console; the picture to open
// may be given, as Explorer gives a file dropped on the program.
#include "app/win32/WorkshopApp.h"

#include <shellapi.h>

#include "platform/win32/WinText.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::optional<std::string> picture;
    if (arguments != nullptr && count > 1)
        picture = wintext::Utf8(arguments[1]);
    LocalFree(arguments);
    return RunWorkshopWindow(instance, picture);
}
