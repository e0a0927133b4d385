#pragma once

#include "period_histograms.h"

#include <iosfwd>
#include <span>

class CStampStore;

// The first bin with the highest count; 0 for a histogram of zeros.
int BusiestBin(const Histogram& histogram);

// The four outputs of busyscope-report, for the views given (ViewMode values).
void WriteSummary(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
                  std::span<const int> views);
void WriteCsv(std::ostream& out, const CPeriodHistograms& histograms, std::span<const int> views);
void WriteJson(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
               std::span<const int> views);
void WriteTimes(std::ostream& out, const CStampStore& store);
