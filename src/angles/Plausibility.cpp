#include "angles/Plausibility.h"

#include <cstdio>

namespace plausibility {

std::vector<int> FailingEntries(const std::vector<double>& angles) {
    std::vector<int> failing;
    double previous = 0.0;
    for (size_t i = 0; i < angles.size(); ++i) {
        // Written so that a value that is not a number fails as well.
        if (!(previous < angles[i]))
            failing.push_back(static_cast<int>(i) + 1);
        previous = angles[i];
    }
    return failing;
}

int FirstFailingEntry(const std::vector<double>& angles) {
    const std::vector<int> failing = FailingEntries(angles);
    return failing.empty() ? 0 : failing.front();
}

std::string Message(int k) {
    char message[128];
    std::snprintf(message, sizeof message, "Needle angle for %d knots doesn't seem right", 10 * k);
    return message;
}

}  // namespace plausibility
