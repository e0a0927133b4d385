#pragma once

#include "defaults.h"

#include <Qt>
#include <optional>
#include <vector>

// What the graph's keys change: the bin the keyboard cursor marks, the rotation of the period
// and the full scale of the density axis.
struct GraphKeyState {
    int cursorBin = 0;
    double xOffset = 0.0;
    double yScale = kDefaultFullScale;
    friend bool operator==(const GraphKeyState&, const GraphKeyState&) = default;
};

// The bins at which the view's major ticks stand on the time axis, from the period's start:
// every six hours of the day, every day of the week, the fifth days of the month, the first of
// every month of the year.
std::vector<int> MajorTickBins(int view);

// The state after a key pressed in the graph, or nothing for a key the graph does not take:
// Left/Right move the cursor by one bin, with Shift by the averaging window; Home and End to
// the period's first and last bin; Page Up/Down to the major tick before or after it; the
// cursor wraps round the period. Ctrl+Left/Right turn the period by a 24th, Ctrl+Up/Down make
// the curve taller or flatter by a quarter, as dragging the axes would.
std::optional<GraphKeyState> GraphStateAfterKey(const GraphKeyState& state, int key,
                                                Qt::KeyboardModifiers modifiers, int view,
                                                int averagingPosition);
