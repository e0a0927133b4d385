#pragma once

#include "local_time.h"

#include <cstdint>

// The calendar fields of t seen at a fixed offset from UTC, computed arithmetically:
// what localtime gives for t while that offset is in effect.
LocalBreakdown BreakDownAtOffset(std::int64_t t, std::int64_t utcOffset);
