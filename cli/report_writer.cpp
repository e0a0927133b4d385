#include "report_writer.h"

#include "analysis_period.h"
#include "burst_events.h"
#include "busyscope_version.h"
#include "files_at.h"
#include "local_time.h"
#include "report_options.h"
#include "stamp_store.h"
#include "text_escape.h"
#include "time_list.h"
#include "window_sums.h"

#include <ostream>
#include <string>
#include <vector>

int BusiestBin(const Histogram& histogram) {
    return HighestWindowPoint(histogram.span(), static_cast<int>(histogram.GetSize()), 1);
}

namespace {

// The summary's title line: "N files in FOLDER" (or commits), "(M active minutes)" when minutes are
// counted, and "(M entries left out)" when names were excluded.
std::string SummaryTitle(const CStampStore& store, const CPeriodHistograms& histograms,
                         const LeftOutCounts& leftOut) {
    std::string title = FormatAnalysisTitle(store.m_nFiles, store.GetFolder(), histograms, store.Kind());
    if (leftOut.excludedEntries)
        title += " (" + CountOf(*leftOut.excludedEntries, "entry", "entries") + " left out)";
    return title;
}

// A burst's main folder: ", 99.9% in lib/sdk"; nothing when it names none.
std::string BurstFolderText(const CStampStore& store, const BurstEvent& burst) {
    if (burst.mainFolder.files == 0)
        return {};
    return ", " + FormatShare(burst.mainFolder.files, burst.files) + " in " +
           DisplayText(FolderListPath(store.Places(), burst.mainFolder.folder));
}

// Each view's line of the summary: its busiest bin and the busiest point of its averaged curve.
void WriteViewLines(std::ostream& out, RecordKind kind, const CPeriodHistograms& histograms,
                    std::span<const int> views, int averagingPosition, const char* indent) {
    const bool countsFiles = histograms.m_countRule == CountRule::Files;
    const char* noun = RecordNoun(kind);
    for (const int view : views) {
        out << indent << ViewName(view) << ": ";
        const Histogram& histogram = *histograms.ForView(view);
        if (histograms.m_nBinned == 0) {
            out << "no " << noun << "\n";
            continue;
        }
        const int bin = BusiestBin(histogram);
        const int smoothed =
            HighestWindowPoint(histogram.span(), BinsForView(view), AveragingWindow(averagingPosition));
        out << "busiest " << FormatBinTime(view, bin) << ", "
            << (!countsFiles ? CountOf(histogram[bin], "minute", "minutes")
                             : CountOf(histogram[bin], RecordNoun(kind, 1), noun))
            << "; averaged over " << FormatAveragingPeriod(view, averagingPosition).value_or("")
            << ", busiest " << FormatBinTime(view, smoothed) << '\n';
    }
}

} // namespace

void WriteSummary(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
                  std::span<const int> views, int averagingPosition, const LeftOutCounts& leftOut,
                  const ComparedCounts* compared) {
    out << DisplayText(SummaryTitle(store, histograms, leftOut)) << '\n';
    const bool countsFiles = histograms.m_countRule == CountRule::Files;
    if (leftOut.filesOutsideRange)
        out << CountOf(*leftOut.filesOutsideRange, "file", "files")
            << " written outside the time range left out\n";
    if (leftOut.mountPoints > 0)
        out << CountOf(leftOut.mountPoints, "mount point", "mount points")
            << " of other file systems left out\n";
    if (const std::int64_t outside = histograms.m_nCounted - histograms.m_nBinned; outside > 0)
        out << outside << (countsFiles ? " of them have times" : " of the active minutes are")
            << " outside the local calendar\n";
    WriteViewLines(out, store.Kind(), histograms, views, averagingPosition, "");
    if (compared) {
        out << "compared with " << compared->name << ": "
            << CountOf(compared->records, RecordNoun(store.Kind(), 1), RecordNoun(store.Kind()));
        if (!countsFiles)
            out << " (" << CountOf(compared->histograms.m_nCounted, "active minute", "active minutes") << ")";
        out << '\n';
        WriteViewLines(out, store.Kind(), compared->histograms, views, averagingPosition, "  ");
    }
    const char* noun = RecordNoun(store.Kind());
    const BurstEvents bursts = FindBurstEvents(store, kReportedBursts);
    if (!bursts.largest.empty())
        out << "largest bursts (" << noun << " written within " << kBurstGapSeconds
            << " seconds of one another into the same folder):\n";
    for (const BurstEvent& burst : bursts.largest)
        out << "  " << FormatBurstSpan(burst, store.Basis()) << ", "
            << CountOf(burst.files, RecordNoun(store.Kind(), 1), noun) << BurstFolderText(store, burst)
            << '\n';
}

void WriteCsv(std::ostream& out, const CPeriodHistograms& histograms, std::span<const int> views,
              const ComparedCounts* compared) {
    out << "view,bin,time,count,start_seconds,width_seconds" << (compared ? ",compared_count\n" : "\n");
    for (const int view : views) {
        const Histogram& histogram = *histograms.ForView(view);
        const std::int64_t width = SecondsPerBin(view);
        for (int bin = 0; bin < histogram.GetSize(); ++bin) {
            out << ViewName(view) << ',' << bin << ',' << CsvQuote(FormatBinTime(view, bin)) << ','
                << histogram[bin] << ',' << bin * width << ',' << width;
            if (compared)
                out << ',' << (*compared->histograms.ForView(view))[bin];
            out << '\n';
        }
    }
}

void WriteJson(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
               std::span<const int> views, const LeftOutCounts& leftOut, const ComparedCounts* compared) {
    const ScanProblems& problems = store.GetProblems();
    out << "{\n"
        << "  \"version\": " << JsonQuote(kBusyscopeVersion) << ",\n"
        << "  \"timeZone\": " << JsonQuote(LocalZoneName()) << ",\n"
        << "  \"folder\": " << JsonQuote(store.GetFolder()) << ",\n"
        << "  \"files\": " << store.m_nFiles << ",\n"
        << "  \"count\": " << JsonQuote(CountRuleName(histograms.m_countRule)) << ",\n";
    if (histograms.m_countRule == CountRule::Files)
        out << "  \"binnedFiles\": " << histograms.m_nBinned << ",\n";
    else
        out << "  \"activeMinutes\": " << histograms.m_nCounted << ",\n"
            << "  \"binnedMinutes\": " << histograms.m_nBinned << ",\n";
    out << "  \"unreadableFolders\": " << problems.unreadableFolders << ",\n"
        << "  \"excludedEntries\": " << leftOut.excludedEntries.value_or(0) << ",\n"
        << "  \"filesOutsideRange\": " << leftOut.filesOutsideRange.value_or(0) << ",\n"
        << "  \"mountPointsLeftOut\": " << leftOut.mountPoints << ",\n"
        << "  \"mountPointPathsLeftOut\": [";
    for (std::size_t i = 0; i < leftOut.mountPointPaths.size(); ++i)
        out << (i == 0 ? "" : ", ") << JsonQuote(leftOut.mountPointPaths[i]);
    out << "],\n";
    if (compared)
        out << "  \"compared\": {\"range\": " << JsonQuote(compared->name)
            << ", \"files\": " << compared->records << ", \"counted\": " << compared->histograms.m_nCounted
            << ", \"binned\": " << compared->histograms.m_nBinned << "},\n";
    out << "  \"views\": [";
    const char* viewSeparator = "\n";
    for (const int view : views) {
        const Histogram& histogram = *histograms.ForView(view);
        const std::int64_t width = SecondsPerBin(view);
        out << viewSeparator << "    {\"view\": " << JsonQuote(ViewName(view)) << ", \"bins\": [";
        const char* binSeparator = "\n";
        for (int bin = 0; bin < histogram.GetSize(); ++bin) {
            out << binSeparator << "      {\"bin\": " << bin
                << ", \"time\": " << JsonQuote(FormatBinTime(view, bin))
                << ", \"startSeconds\": " << bin * width << ", \"widthSeconds\": " << width
                << ", \"count\": " << histogram[bin];
            if (compared)
                out << ", \"comparedCount\": " << (*compared->histograms.ForView(view))[bin];
            out << '}';
            binSeparator = ",\n";
        }
        out << "\n    ]}";
        viewSeparator = ",\n";
    }
    out << "\n  ],\n  \"bursts\": [";
    const char* burstSeparator = "\n";
    for (const BurstEvent& burst : FindBurstEvents(store, kReportedBursts).largest) {
        out << burstSeparator << "    {\"start\": " << JsonQuote(FormatRecordTime(burst.start, store.Basis()))
            << ", \"startSeconds\": " << burst.start
            << ", \"end\": " << JsonQuote(FormatRecordTime(burst.end, store.Basis()))
            << ", \"endSeconds\": " << burst.end << ", \"files\": " << burst.files;
        if (burst.mainFolder.files > 0)
            out << ", \"folder\": " << JsonQuote(FolderListPath(store.Places(), burst.mainFolder.folder))
                << ", \"folderFiles\": " << burst.mainFolder.files;
        out << '}';
        burstSeparator = ",\n";
    }
    out << "\n  ]\n}\n";
}

void WriteTimes(std::ostream& out, const CStampStore& store, CountRule rule, RecordEnd recordEnd) {
    if (rule == CountRule::ActiveMinutes) {
        for (const std::int64_t start : ActiveMinuteStarts(store.span()))
            out << start << (recordEnd == RecordEnd::Nul ? '\0' : '\n');
        return;
    }
    WriteTimeList(out, store, recordEnd);
}

void WriteReport(std::ostream& out, ReportFormat format, const CStampStore& store,
                 const CPeriodHistograms& histograms, std::span<const int> views, int averagingPosition,
                 const LeftOutCounts& leftOut, RecordEnd timesEnd, const ComparedCounts* compared) {
    switch (format) {
    case ReportFormat::Summary:
        WriteSummary(out, store, histograms, views, averagingPosition, leftOut, compared);
        break;
    case ReportFormat::Csv:
        WriteCsv(out, histograms, views, compared);
        break;
    case ReportFormat::Json:
        WriteJson(out, store, histograms, views, leftOut, compared);
        break;
    case ReportFormat::Times:
        WriteTimes(out, store, histograms.m_countRule, timesEnd);
        break;
    }
}
