#pragma once

#include <cstdio>
#include <cstdlib>

#include "harness/FuzzCheck.h"

// Runs one fuzz input; a broken invariant is printed and becomes a crash, which libFuzzer
// keeps as a reproducer.
template <typename Body>
int RunFuzzInput(Body body) {
    try {
        body();
    } catch (const CFuzzFailure& failure) {
        std::fprintf(stderr, "\nBroken invariant: %s\n", failure.what());
        std::abort();
    }
    return 0;
}
