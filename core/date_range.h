#pragma once

#include "stamp_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A span of time the graph counts on its own: the records written at since or later and before
// until, both in seconds since 1970 UTC. A range chosen by days runs from the local midnight of
// its first day to the local midnight after its last.
struct DateRange {
    std::int64_t since = 0;
    std::int64_t until = 0;

    // The range of a time range whose ends may be open.
    static DateRange Between(const std::optional<std::int64_t>& since,
                             const std::optional<std::int64_t>& until);

    bool operator==(const DateRange&) const = default;
    bool Holds(std::int64_t t) const { return t >= since && t < until; }
};

// How the range is named: "2024-03-01 to 2024-03-31" for whole local days (one date for a single
// day); with the hour and minute of each end ("2024-03-01 14:30 to 2024-03-02 09:00", the end
// being the first minute left out) when either end is not a local midnight. An end at the
// earliest or latest time there is stands open: "from 2024-03-01", "before 2024-04-01", "all dates".
std::string DateRangeName(const DateRange& range);

// One end of a range as it is typed back: "2024-03-01" at a local midnight, else
// "2024-03-01T14:30" (with ":SS" when the second is not 0).
std::string RangeEndText(std::int64_t t);

// The range of the same length that ends where this one begins: as many months before for a
// range of whole months (2025 before 2026, whatever their days), as many days before for one of
// whole days (a summer-time change in either leaves its ends at midnight), else as many seconds.
DateRange PrecedingRange(const DateRange& range);

// The twelve months up to the local midnight after the day of time t.
DateRange YearEndingOnDayOf(std::int64_t t);

// Reads a range from its two ends as typed (local ISO 8601 dates, or dates and times), refusing
// a malformed end or an empty range with the same messages as the Leave Out date range. Returns
// the message, or "" with the range set.
std::string ReadDateRange(std::string_view since, std::string_view until, std::optional<DateRange>& range);

// The range as a store with the basis reads its times: itself for file times; for clock readings
// counted as UTC, the same dates and times on the clock (the local offset added to each end).
DateRange RangeInBasis(const DateRange& range, TimeBasis basis);

// What the status bar says of a range that holds no records: "No files were written in
// 2024-03-01 to 2024-03-31." ("No commits were ..." for a history).
std::string NothingWrittenIn(const DateRange& range, RecordKind kind);
