#pragma once

#include "bin_range.h"
#include "date_range.h"
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
    RecordKind kind = RecordKind::Files;       // what the records are
    BinRange range;                            // the bins summed
    std::vector<CStampStore::Index> records;   // in walk order
    std::optional<std::int64_t> activeMinutes; // what the curve sums there when it counts minutes

    // Set when the list is of the records written in a span of time (a day, a burst) rather
    // than of a point of the curve: its first second, the first second after it, and what the
    // title calls it.
    struct WrittenSpan {
        std::int64_t since = 0;
        std::int64_t until = 0;
        std::string name;
        bool operator==(const WrittenSpan&) const = default;
    };
    std::optional<WrittenSpan> span;
    // Set when the curve counts only the records written in a date range: the point's records
    // are those of the range.
    std::optional<DateRange> dateRange;
};

// The files of the store behind the curve's point at bin of the view, averaged as the
// trackbar position says, and the minutes they make when the curve counts those; only those
// written in the date range when one is given. Throws std::bad_alloc when memory runs out.
FilesAtPoint SelectFilesAtPoint(const CStampStore& store, int view, int bin, int trackbarPosition,
                                CountRule rule = CountRule::Files,
                                const std::optional<DateRange>& dateRange = std::nullopt);

// The records of the store written in [span.since, span.until), in walk order, and the minutes
// they make when the curve counts those.
FilesAtPoint SelectFilesWrittenIn(const CStampStore& store, FilesAtPoint::WrittenSpan span,
                                  CountRule rule = CountRule::Files);

// The same selection made again from a new store: the span, or the point and averaging.
FilesAtPoint SelectFilesAgain(const CStampStore& store, const FilesAtPoint& shown, CountRule rule);

// What a list of those files shows at its top: "Tuesday 10:30 AM ± 50 minutes: 1,234 files"
// (or commits), then " in 56 active minutes" when the curve counts minutes; without the "±"
// part when the window is the bin alone; the date range's name follows the point's
// ("..., 2024-03-01 to 2024-03-31: 12 files"). A span's list begins with the span's name instead.
std::string FilesAtPointTitle(const FilesAtPoint& files);
