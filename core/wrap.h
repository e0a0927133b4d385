#pragma once

#include <cstdint>

// Brings an index into [0, n), as if n were added while it is negative and the remainder
// taken afterwards; computed in one step, so any int64 value is fine. n > 0.
int WrapIndex(std::int64_t a, int n);

// Brings an offset into [0, n) the same way, with fmod. Gives bit for bit what adding n
// while negative would give, in one step. n > 0.
double WrapOffset(double x, int n);

// Pixels by which the period is turned: trunc(width * xOffset / bins), the product first,
// in double. 0 when bins <= 0 or the offset is not finite; beyond the range of int64 the
// same shift modulo the width.
std::int64_t PixelShift(int width, double xOffset, int bins);
