#pragma once

#include "filtered_directory_source.h"
#include "period_histograms.h"
#include "report_options.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class CStampStore;

// How many bursts the summary and the JSON name.
inline constexpr int kReportedBursts = 10;

// The first bin with the highest count; 0 for a histogram of zeros.
int BusiestBin(const Histogram& histogram);

// The counts of a second date range reported beside the first's: its name, the records written
// in it and their histograms (counted by the same rule).
struct ComparedCounts {
    std::string name;
    std::int64_t records = 0;
    const CPeriodHistograms& histograms;
};

// The four outputs of busyscope-report, for the views given (ViewMode values). The summary names
// each view's busiest bin and the highest point of its curve averaged at the slider position.
// Given a compared range, the summary adds its title line and view lines, the CSV a column
// compared_count, and the JSON a "compared" object and each bin's comparedCount.
void WriteSummary(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
                  std::span<const int> views, int averagingPosition, const LeftOutCounts& leftOut = {},
                  const ComparedCounts* compared = nullptr);
void WriteCsv(std::ostream& out, const CPeriodHistograms& histograms, std::span<const int> views,
              const ComparedCounts* compared = nullptr);
void WriteJson(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
               std::span<const int> views, const LeftOutCounts& leftOut = {},
               const ComparedCounts* compared = nullptr);
// Every file's time in walk order, or with active minutes the first second of each, ascending;
// as NUL-ended records, each file's with its path when the store keeps it (see WriteTimeList).
void WriteTimes(std::ostream& out, const CStampStore& store, CountRule rule = CountRule::Files,
                RecordEnd recordEnd = RecordEnd::Newline);

// The report in the chosen format: one of the four above, counting as the histograms were
// counted (times takes only the histograms' rule, and ends its records with timesEnd).
void WriteReport(std::ostream& out, ReportFormat format, const CStampStore& store,
                 const CPeriodHistograms& histograms, std::span<const int> views, int averagingPosition,
                 const LeftOutCounts& leftOut = {}, RecordEnd timesEnd = RecordEnd::Newline,
                 const ComparedCounts* compared = nullptr);
