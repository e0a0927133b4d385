#pragma once

#include <cstdint>

// Brings an index into [0, n): negative values are raised by whole periods first. n > 0.
int WrapIndex(std::int64_t a, int n);

// Brings an offset into [0, n) the same way, with fmod. n > 0.
double WrapOffset(double x, int n);

// Pixels by which the period is turned: trunc(width * xOffset / bins) (product first, in double).
std::int64_t PixelShift(int width, double xOffset, int bins);
