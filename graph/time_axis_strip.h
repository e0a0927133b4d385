#pragma once

#include <vector>

// The time-axis scale is drawn unshifted into a strip whose scale starts at column stripLeft,
// then copied into the band in up to two pieces so that scale column i lands on band
// column (i + shift) mod scaleWidth.
struct StripCopy {
    int sourceX = 0;      // strip column of the piece's left edge
    int destinationX = 0; // panel column it is copied to
    int width = 0;
    friend bool operator==(const StripCopy&, const StripCopy&) = default;
};

// The turn of the scale in pixels: the curve's pixel shift brought into [0, plotWidth); 0 for no width.
int TimeAxisShift(int plotWidth, double xOffset, int bins);

// The pieces to copy for a shift, each clipped to the strip's scale columns; empty pieces are left out.
std::vector<StripCopy> StripCopies(int shift, int scaleWidth, int plotWidth, int stripLeft);
