#pragma once

#include "local_time.h"

#include <cstdint>

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (month 1..12).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

// The calendar fields of t seen at a fixed offset from UTC, computed arithmetically:
// what localtime gives for t while that offset is in effect.
LocalBreakdown BreakDownAtOffset(std::int64_t t, std::int64_t utcOffset);
