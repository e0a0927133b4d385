#pragma once

#include "civil_time.h"
#include "local_time.h"
#include "period_bins.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <unordered_map>
#include <vector>

// Bins of many file times at once. The zone's UTC offset (less the leap seconds so far, in a
// zone that counts them) is constant between its transitions, so the stretch of time around a file time that
// shares its offset and its local year is found once with localtime (and the year's bounds once with mktime);
// the fields of every later time inside that stretch are computed arithmetically. Gives exactly the plain
// breakdown's bins, provided the zone never changes its offset twice within one probe step (a day) and
// returns to the same offset. Build one per batch: it does not follow later changes of TZ.
class CLocalTimeCache {
public:
    // Bins of t in the four periods, or nothing when the platform cannot break t down.
    std::optional<PeriodBins> Bins(std::int64_t t) {
        const std::uint32_t hint = m_hints[HintSlot(t)];
        if (hint < m_segments.size()) {
            const Segment& segment = m_segments[hint];
            if (t >= segment.first && t <= segment.last && segment.year)
                return BinsInSegment(segment, t);
        }
        return BinsOffTheHint(t);
    }

    // Number of stretches found so far.
    std::size_t SegmentCount() const { return m_segments.size(); }

private:
    // Times first..last (inclusive, UTC seconds) share one UTC offset and one local year.
    struct Segment {
        std::int64_t first;
        std::int64_t last;
        std::int64_t offset;
        std::int64_t firstLocalDay; // days since 1970-01-01 of 1 January of the local year
        std::optional<YearBounds> year;
        bool leapYear;
    };

    static std::size_t HintSlot(std::int64_t t) {
        return (static_cast<std::uint64_t>(t) >> kHintSliceBits) & (kHintSlots - 1);
    }
    std::optional<PeriodBins> BinsOffTheHint(std::int64_t t);
    const Segment* FindSegment(std::int64_t t);
    const Segment* AddSegment(std::int64_t t, std::size_t position);

    // The fields of t from the segment's offset: the time of day and week day by division,
    // the day of the month from the day of the local year.
    static PeriodBins BinsInSegment(const Segment& segment, std::int64_t t) {
        LocalDayAndTime split = SplitLocalSeconds(t + segment.offset);
        split.fields.monthDay = MonthDayOfYearDay(segment.leapYear, split.days - segment.firstLocalDay);
        return BinsFromLocal(split.fields, t, *segment.year);
    }

    // Day of the month for each day of a common and of a leap year.
    static constexpr std::array<std::array<std::uint8_t, 366>, 2> MonthDayTable() {
        std::array<std::array<std::uint8_t, 366>, 2> table{};
        for (const bool leap : {false, true}) {
            std::size_t dayOfYear = 0;
            for (int month = 1; month <= 12; ++month)
                for (int day = 1; day <= DaysInMonth(leap, month); ++day)
                    table[leap ? 1 : 0][dayOfYear++] = static_cast<std::uint8_t>(day);
        }
        return table;
    }
    static int MonthDayOfYearDay(bool leapYear, std::int64_t dayOfYear) {
        static constexpr std::array<std::array<std::uint8_t, 366>, 2> kTable = MonthDayTable();
        return kTable[leapYear ? 1 : 0][static_cast<std::size_t>(dayOfYear)];
    }

    // Which segment served the last time in each 2^18-second slice (three days) of the time line (slices
    // folded onto the table); a hint that is checked before use.
    static constexpr std::size_t kHintSlots = 1 << 12;
    static constexpr int kHintSliceBits = 18;

    std::vector<Segment> m_segments; // sorted and disjoint
    std::vector<std::uint32_t> m_hints = std::vector<std::uint32_t>(kHintSlots, 0);
    std::unordered_map<std::int64_t, std::optional<YearBounds>> m_years;
    bool m_plainOnly = false; // the zone reported fields no offset gives (a leap second, second 60)
};

// Calls count(binsOf) with what bins a store's times: the cached local breakdown for file times
// (the plain one should the cache run out of memory), the UTC one for clock readings.
template <typename Count> void WithPeriodBinning(bool clockReadings, Count count) {
    if (clockReadings) {
        count(UtcPeriodBins);
        return;
    }
    try {
        CLocalTimeCache localTime;
        count([&](std::int64_t t) { return localTime.Bins(t); });
    } catch (const std::bad_alloc&) {
        // The cache could not grow: the plain breakdown needs no memory.
        count(ReferencePeriodBins);
    }
}
