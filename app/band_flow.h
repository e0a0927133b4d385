#pragma once

#include <vector>

// Which bands begin a new row when bands of the given widths are laid out in order, left to
// right, across a row of the given width, the way a rebar wraps them: a band that would reach
// past the row's end moves to the start of the next row. The first band always begins a row.
std::vector<bool> BandRowStarts(const std::vector<int>& bandWidths, int rowWidth);
