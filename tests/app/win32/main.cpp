#include <gtest/gtest.h>

#include "app/win32/CTillerbyApp.h"

// The window tests run inside the application object the program itself uses, which
// registers the common control classes.
int main(int argc, char** argv) {
    CTillerbyApp app(GetModuleHandleW(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
