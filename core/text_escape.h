#pragma once

#include <string>
#include <string_view>

// A JSON string literal, quotes included. Valid UTF-8 is kept, control characters are
// escaped, and each byte that is not part of valid UTF-8 becomes U+FFFD.
std::string JsonQuote(std::string_view text);

// A CSV field in double quotes, inner quotes doubled.
std::string CsvQuote(std::string_view text);

// Text for a one-line message: control characters (newlines, escapes) are shown as \xNN so
// that an odd file name cannot break the line or drive the terminal.
std::string DisplayText(std::string_view text);
