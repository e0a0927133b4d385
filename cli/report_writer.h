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

// The four outputs of busyscope-report, for the views given (ViewMode values). The summary names
// each view's busiest bin and the highest point of its curve averaged at the slider position.
void WriteSummary(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
                  std::span<const int> views, int averagingPosition, const LeftOutCounts& leftOut = {});
void WriteCsv(std::ostream& out, const CPeriodHistograms& histograms, std::span<const int> views);
void WriteJson(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
               std::span<const int> views, const LeftOutCounts& leftOut = {});
// Every file's time in walk order, or with active minutes the first second of each, ascending;
// as NUL-ended records, each file's with its path when the store keeps it (see WriteTimeList).
void WriteTimes(std::ostream& out, const CStampStore& store, CountRule rule = CountRule::Files,
                RecordEnd recordEnd = RecordEnd::Newline);

// The report in the chosen format: one of the four above, counting as the histograms were
// counted (times takes only the histograms' rule, and ends its records with timesEnd).
void WriteReport(std::ostream& out, ReportFormat format, const CStampStore& store,
                 const CPeriodHistograms& histograms, std::span<const int> views, int averagingPosition,
                 const LeftOutCounts& leftOut = {}, RecordEnd timesEnd = RecordEnd::Newline);
