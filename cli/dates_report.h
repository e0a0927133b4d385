#pragma once

#include "day_counts.h"
#include "period_histograms.h"
#include "report_options.h"

#include <iosfwd>
#include <span>

class CStampStore;

// The report of --view dates in the chosen format, from the days the store's records were
// written on, counted as the histograms were. The summary: the title line, the busiest day, the
// busiest week and the number of active days; csv: date,count per day; json: the same together.
// The times format is the same as for the other views.
void WriteDatesReport(std::ostream& out, ReportFormat format, const CStampStore& store,
                      const CPeriodHistograms& histograms, RecordEnd timesEnd = RecordEnd::Newline);
