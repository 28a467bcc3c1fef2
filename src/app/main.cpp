#include "app/CTillerbyApp.h"
#include "serial/posix/PlatformServices.h"

int main(int argc, char** argv) {
    CTillerbyApp app(argc, argv);
    return app.InitInstance(MakePlatformServices());
}
