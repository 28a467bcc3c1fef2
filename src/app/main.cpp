#include "app/CTillerbyApp.h"
#include "app/PlatformServices.h"

int main(int argc, char** argv) {
    CTillerbyApp app(argc, argv);
    return app.InitInstance(MakePlatformServices());
}
