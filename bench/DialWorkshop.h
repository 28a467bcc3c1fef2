#pragma once

#include <string>

// kestran-dial's commands timed as the program runs them: prepare of a 4096 x 4096 JPEG,
// preview of the realistic dial with the start-up table, cost of the realistic and the
// worst-case dial with a table. Prints the figures beside their targets; false when one is
// missed or a command fails.
bool ReportDialWorkshop(const std::string& folder, const std::string& realistic,
                        const std::string& worst);
