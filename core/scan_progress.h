#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How far a running walk has got: "Scanning: 123,456 files in 7,890 folders...", with commas
// between thousands whatever the locale.
std::string FormatScanProgress(std::int64_t files, std::int64_t folders);

// How far the reading of a source other than a folder has got: "Reading: 8,192 commits...".
std::string FormatReadProgress(std::int64_t records, std::string_view noun);

// Digits in groups of three separated by commas, whatever the locale: "1,234".
std::string GroupThousands(std::int64_t value);
