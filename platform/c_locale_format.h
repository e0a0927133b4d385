#pragma once

#include <ctime>
#include <string>

// The program's texts have fixed formats: those of the "C" locale (a decimal point, English
// day and month names, AM and PM). The process locale is the user's once Qt has started, so
// every text made with a C formatting function is made through these two.

// vsnprintf of the format and arguments in the "C" locale.
std::string FormatInCLocale(const char* format, ...) __attribute__((format(printf, 1, 2)));

// strftime of the fields in the "C" locale.
std::string FormatTimeInCLocale(const char* format, const std::tm& fields);
