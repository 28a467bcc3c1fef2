#include "app/qt/CTillerbyApp.h"
#include "serial/PlatformServices.h"

int main(int argc, char** argv) {
    CTillerbyApp app(argc, argv);
    return app.InitInstance(MakePlatformServices());
}
