#include "report_writer.h"

#include "analysis_period.h"
#include "report_options.h"
#include "stamp_store.h"
#include "text_escape.h"
#include "time_list.h"

#include <ostream>
#include <string>

int BusiestBin(const Histogram& histogram) {
    int busiest = 0;
    for (CGrowableArray<std::int32_t>::Index bin = 1; bin < histogram.GetSize(); ++bin)
        if (histogram[bin] > histogram[busiest])
            busiest = static_cast<int>(bin);
    return busiest;
}

namespace {

// The summary's title line: "N files in FOLDER" (or commits), "(M active minutes)" when minutes are
// counted, and "(M entries left out)" when names were excluded.
std::string SummaryTitle(const CStampStore& store, const CPeriodHistograms& histograms,
                         const LeftOutCounts& leftOut) {
    std::string title = FormatAnalysisTitle(store.m_nFiles, store.GetFolder(), histograms, store.Kind());
    if (leftOut.excludedEntries)
        title += " (" + std::to_string(*leftOut.excludedEntries) + " entries left out)";
    return title;
}

} // namespace

void WriteSummary(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
                  std::span<const int> views, const LeftOutCounts& leftOut) {
    out << DisplayText(SummaryTitle(store, histograms, leftOut)) << '\n';
    const bool countsFiles = histograms.m_countRule == CountRule::Files;
    if (leftOut.filesOutsideRange)
        out << *leftOut.filesOutsideRange << " files written outside the time range left out\n";
    if (leftOut.mountPoints > 0)
        out << leftOut.mountPoints << " mount points of other file systems left out\n";
    if (countsFiles && histograms.m_nBinned < store.m_nFiles)
        out << store.m_nFiles - histograms.m_nBinned << " of them have times outside the local calendar\n";
    const char* noun = RecordNoun(store.Kind());
    for (const int view : views) {
        out << ViewName(view) << ": ";
        const Histogram& histogram = *histograms.ForView(view);
        if (histograms.m_nBinned == 0) {
            out << "no " << noun << "\n";
            continue;
        }
        const int bin = BusiestBin(histogram);
        out << "busiest " << FormatBinTime(view, bin) << ", " << histogram[bin] << " "
            << (countsFiles ? noun : "minutes") << "\n";
    }
}

void WriteCsv(std::ostream& out, const CPeriodHistograms& histograms, std::span<const int> views) {
    out << "view,bin,time,count\n";
    for (const int view : views) {
        const Histogram& histogram = *histograms.ForView(view);
        for (int bin = 0; bin < histogram.GetSize(); ++bin)
            out << ViewName(view) << ',' << bin << ',' << CsvQuote(FormatBinTime(view, bin)) << ','
                << histogram[bin] << '\n';
    }
}

void WriteJson(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
               std::span<const int> views, const LeftOutCounts& leftOut) {
    const ScanProblems& problems = store.GetProblems();
    out << "{\n"
        << "  \"folder\": " << JsonQuote(store.GetFolder()) << ",\n"
        << "  \"files\": " << store.m_nFiles << ",\n"
        << "  \"count\": " << (histograms.m_countRule == CountRule::Files ? "\"files\"" : "\"minutes\"") << ",\n";
    if (histograms.m_countRule == CountRule::Files)
        out << "  \"binnedFiles\": " << histograms.m_nBinned << ",\n";
    else
        out << "  \"activeMinutes\": " << histograms.m_nBinned << ",\n";
    out
        << "  \"unreadableFolders\": " << problems.unreadableFolders << ",\n"
        << "  \"excludedEntries\": " << leftOut.excludedEntries.value_or(0) << ",\n"
        << "  \"filesOutsideRange\": " << leftOut.filesOutsideRange.value_or(0) << ",\n"
        << "  \"mountPointsLeftOut\": " << leftOut.mountPoints << ",\n"
        << "  \"views\": [";
    const char* viewSeparator = "\n";
    for (const int view : views) {
        const Histogram& histogram = *histograms.ForView(view);
        out << viewSeparator << "    {\"view\": " << JsonQuote(ViewName(view)) << ", \"bins\": [";
        const char* binSeparator = "\n";
        for (int bin = 0; bin < histogram.GetSize(); ++bin) {
            out << binSeparator << "      {\"bin\": " << bin
                << ", \"time\": " << JsonQuote(FormatBinTime(view, bin)) << ", \"count\": " << histogram[bin]
                << '}';
            binSeparator = ",\n";
        }
        out << "\n    ]}";
        viewSeparator = ",\n";
    }
    out << "\n  ]\n}\n";
}

void WriteTimes(std::ostream& out, const CStampStore& store, CountRule rule) {
    if (rule == CountRule::ActiveMinutes) {
        for (const std::int64_t start : ActiveMinuteStarts(store.span()))
            out << start << '\n';
        return;
    }
    WriteTimeList(out, store);
}

void WriteReport(std::ostream& out, ReportFormat format, const CStampStore& store,
                 const CPeriodHistograms& histograms, std::span<const int> views,
                 const LeftOutCounts& leftOut) {
    switch (format) {
    case ReportFormat::Summary:
        WriteSummary(out, store, histograms, views, leftOut);
        break;
    case ReportFormat::Csv:
        WriteCsv(out, histograms, views);
        break;
    case ReportFormat::Json:
        WriteJson(out, store, histograms, views, leftOut);
        break;
    case ReportFormat::Times:
        WriteTimes(out, store, histograms.m_countRule);
        break;
    }
}
