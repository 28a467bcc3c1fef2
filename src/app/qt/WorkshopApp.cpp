#include "app/qt/WorkshopApp.h"

#include <cstdio>
#include <cstdlib>

#include "app/qt/CTillerbyApp.h"
#include "app/qt/WorkshopWindow.h"

namespace {

// Without a display the toolkit would end the program with a note of its own.
bool DisplayAtHand() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0')
            return true;
    }
    return false;
}

}  // namespace

int RunWorkshopWindow(int& argc, char** argv, const std::optional<std::string>& picture) {
    if (!DisplayAtHand()) {
        std::fputs(
            "kestran-dial: no display for the dial workshop's window; kestran-dial --help lists "
            "the commands.\n",
            stderr);
        return 2;
    }
    CTillerbyApp app(argc, argv);
    CWorkshopWindow window;
    window.Open(picture);
    window.show();
    return app.exec();
}
