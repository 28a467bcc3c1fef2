#pragma once

#include <stdexcept>

#include "support/UniqueFolder.h"

// A private folder for the files a fuzz input is written to, removed with the object.
class CScratchDir : public CTempDir {
public:
    CScratchDir() : CTempDir("kestran-fuzz-") {
        if (Path().empty())
            throw std::runtime_error("no scratch folder");
    }
};
