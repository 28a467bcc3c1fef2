#pragma once

#include <string>
#include <vector>

// The rule a table must pass before it is saved: entry 1 above 0 and every further entry
// strictly above the one before it.
namespace plausibility {

// The entries (1 = 10 knots) that fail, each judged against the entry before it (0 for
// the first). A value that is not a number fails.
std::vector<int> FailingEntries(const std::vector<double>& angles);

// The first failing entry, or 0 when the table passes.
int FirstFailingEntry(const std::vector<double>& angles);

// "Needle angle for %d knots doesn't seem right" for entry k.
std::string Message(int k);

}  // namespace plausibility
