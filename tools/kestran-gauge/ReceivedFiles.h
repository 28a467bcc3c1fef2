#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "gauge/VirtualGauge.h"

// What a virtual gauge holds, as files a person can look at: the IAS and TAS dials as
// ias.png and tas.png (with their alpha), the angle table as table.txt, and the needle at
// every entry of the table drawn on the TAS dial as needles.png. Only what the gauge
// has received is written; each file is replaced whole, never left half written.
struct SWrittenFiles {
    std::vector<std::string> names;  // the files written, in the order above
    std::string error;               // empty when everything was written
};
SWrittenFiles WriteReceivedFiles(const CVirtualGauge& gauge, const std::filesystem::path& dir);

// The angle table as text: "entries N", then one line per entry with the speed in knots
// and the needle angle in degrees, e.g. "10 7.5".
std::string AngleTableText(const std::vector<int>& tenths);
