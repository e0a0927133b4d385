#pragma once

#include "bin_range.h"
#include "period_histograms.h"
#include "stamp_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The files behind one point of the curve: those whose bins the curve sums there.
struct FilesAtPoint {
    int view = 0;
    int bin = 0; // the point, as the readout names it
    int trackbarPosition = 50;
    RecordKind kind = RecordKind::Files;     // what the records are
    BinRange range;                          // the bins summed
    std::vector<CStampStore::Index> records; // in walk order
    std::optional<std::int64_t> activeMinutes; // what the curve sums there when it counts minutes
};

// The files of the store behind the curve's point at bin of the view, averaged as the
// trackbar position says, and the minutes they make when the curve counts those. Throws
// std::bad_alloc when memory runs out.
FilesAtPoint SelectFilesAtPoint(const CStampStore& store, int view, int bin, int trackbarPosition,
                                CountRule rule = CountRule::Files);

// What a list of those files shows at its top: "Tuesday 10:30 AM ± 50 minutes: 1,234 files"
// (or commits), then " in 56 active minutes" when the curve counts minutes; without the "±"
// part when the window is the bin alone.
std::string FilesAtPointTitle(const FilesAtPoint& files);
