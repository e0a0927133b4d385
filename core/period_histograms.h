#pragma once

#include "analysis_period.h"
#include "growable_array.h"
#include "stamp_store.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CStampStore;
class CTimeOrderedBins;
struct DateRange;
struct FileStamp;

using Histogram = CGrowableArray<std::int32_t>;

// The minutes of UTC time in which at least one record was written, each as its first second,
// in ascending order and each once.
std::vector<std::int64_t> ActiveMinuteStarts(std::span<const FileStamp> stamps);
// The first second of the minute of UTC time that t falls in (the earliest time there is for a
// minute that has none).
std::int64_t ActiveMinuteStart(std::int64_t t);

// The four period histograms, recounted from the store after every scan.
class CPeriodHistograms {
public:
    // Sizes the four arrays on first use, zeroes them and counts every record of the store (or
    // every active minute) once in each; a time the platform cannot break down is left out of
    // all four. Throws std::bad_alloc only if the arrays themselves (or the list of active
    // minutes) cannot be allocated.
    void RebuildHistograms(const CStampStore& store, CountRule rule = CountRule::Files);
    // The same for only the records written within the range (the minutes in which one of those
    // was written), from the records already binned in time order: one slice, no breakdown.
    void RecountWrittenIn(const CTimeOrderedBins& ordered, const DateRange& range,
                          CountRule rule = CountRule::Files);

    // The histogram of a view, or nullptr for a value outside 0..3.
    const Histogram* ForView(int view) const;

    // What the curve's densities are relative to: the store's file count when files are
    // counted, the number of active minutes binned when minutes are.
    std::int64_t CurveTotal(std::int64_t files) const {
        return m_countRule == CountRule::Files ? files : m_nBinned;
    }

    Histogram m_yearBins;
    Histogram m_monthBins;
    Histogram m_weekBins;
    Histogram m_dayBins;

    // Files (or active minutes) counted by the last rebuild: all of them, and those whose time
    // could be binned (the rest have times the local calendar cannot hold).
    std::int64_t m_nCounted = 0;
    std::int64_t m_nBinned = 0;
    // The rule of the last rebuild.
    CountRule m_countRule = CountRule::Files;

private:
    void SizeAndZero();
    template <typename Times, typename BinsOf> void Recount(const Times& times, BinsOf binsOf);
};

// The title line of an analysis: "N files in FOLDER" ("N commits in FOLDER" for a history), and
// beside it "(M active minutes)", all of them, when the histograms count active minutes. Given
// the name of the date range counted, files are those written in it, and the name follows the
// folder: "37 files in src, 2024-03-01 to 2024-03-31".
std::string FormatAnalysisTitle(std::int64_t files, const std::string& folder,
                                const CPeriodHistograms& histograms, RecordKind kind = RecordKind::Files,
                                const std::string& rangeName = {});

// "file(s)", "commit(s)" or "minute(s)": what a count of the rule counts in records of the kind.
const char* CountedUnits(CountRule rule, RecordKind kind = RecordKind::Files);
