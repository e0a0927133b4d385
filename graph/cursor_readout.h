#pragma once

#include "period_histograms.h"

#include <cstdint>
#include <string>

// Bin under plot column x: trunc(WrapOffset(x * bins / width - xOffset, bins)), in [0, bins).
// -1 when the plot has no width or there are no bins.
int BinUnderPointer(int x, int plotWidth, int bins, double xOffset);

// The plot column at which the keyboard cursor's line marks a bin: a column the pointer reads
// as that bin when there is one, else the column the bin's start falls in. -1 when the plot
// has no width or there are no bins.
int CursorColumn(int bin, int plotWidth, int bins, double xOffset);

// "08:30 AM - 12 file(s)." for the bin of a view and its count; "commit(s)" for the commits of a
// history, "minute(s)" when active minutes are counted.
std::string ReadoutText(int view, int bin, std::int64_t count, CountRule rule = CountRule::Files,
                        RecordKind kind = RecordKind::Files);

// The readout when a second range is compared: "08:30 AM - 12 file(s), against 7 file(s) in
// 2023-03-01 to 2023-03-31." with the compared range's count at the same bin.
std::string ComparedReadoutText(int view, int bin, std::int64_t count, std::int64_t comparedCount,
                                const std::string& comparedName, CountRule rule = CountRule::Files,
                                RecordKind kind = RecordKind::Files);

// A line of the comparison's legend: "2024-03-01 to 2024-03-31 - 37 file(s)", or "... - nothing
// written" for a range that holds no records (and so has no curve).
std::string LegendText(const std::string& rangeName, std::int64_t count, CountRule rule = CountRule::Files,
                       RecordKind kind = RecordKind::Files);
