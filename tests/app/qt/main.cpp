#include <gtest/gtest.h>

#include <cstdlib>

#include "app/qt/CTillerbyApp.h"

// The window tests run inside the application object the program itself uses.
int main(int argc, char** argv) {
    // Listing the tests happens without the test environment; it needs no display either.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    CTillerbyApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
