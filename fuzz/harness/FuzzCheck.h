#pragma once

#include <stdexcept>
#include <string>
#include <type_traits>

// A broken invariant found while running one fuzz input. The fuzz targets turn it into a
// crash that libFuzzer keeps; the replay test reports it as a failure.
class CFuzzFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline void FuzzCheck(bool condition, const char* what) {
    if (!condition)
        throw CFuzzFailure(what);
}

// The description is only made when the check fails: checks run per pixel and per line.
template <typename Describe, typename = std::enable_if_t<std::is_invocable_v<Describe>>>
void FuzzCheck(bool condition, Describe&& describe) {
    if (!condition)
        throw CFuzzFailure(std::string(describe()));
}
