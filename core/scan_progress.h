#pragma once

#include <cstdint>
#include <string>

// How far a running walk has got: "Scanning: 123,456 files in 7,890 folders...", with commas
// between thousands whatever the locale.
std::string FormatScanProgress(std::int64_t files, std::int64_t folders);
