#include "analysis_period.h"
#include "analysis_source.h"
#include "busyscope_version.h"
#include "checked_output.h"
#include "dates_report.h"
#include "files_at_point.h"
#include "files_at_report.h"
#include "period_histograms.h"
#include "png_export.h"
#include "posix_directory_source.h"
#include "progress_line.h"
#include "report_options.h"
#include "report_writer.h"
#include "stamp_store.h"
#include "text_escape.h"
#include "walk_control.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view kProgram = "busyscope-report";
constexpr int kExitFolder = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 128 + SIGINT;

WalkControl theWalkControl;

extern "C" void RequestStop(int) {
    theWalkControl.stopRequested.store(true, std::memory_order_relaxed);
}

// Names for the files listed by --files-at; folders for the bursts of the summary and JSON (not of
// the dates view) and for --files-at's counts by folder; nothing for the rest.
PlaceDetail PlacesNeeded(const ReportOptions& options) {
    if (options.filesAtBin)
        return options.formatChosen ? PlaceDetail::Folders : PlaceDetail::Names;
    if (options.format == ReportFormat::Times && options.recordEnd == RecordEnd::Nul &&
        options.countRule == CountRule::Files)
        return PlaceDetail::Names; // each time is written with its path
    if (options.dates || options.pngFile || options.format == ReportFormat::Csv ||
        options.format == ReportFormat::Times)
        return PlaceDetail::None;
    return PlaceDetail::Folders;
}

// Reads what the options name (a folder walk less what the rules leave out, a history, lists),
// with Ctrl+C turned into a stop request and a walk's progress shown on a terminal.
SourceLoad LoadWhatIsAnalysed(const ReportOptions& options, const AnalysisSource& source) {
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    sigemptyset(&stop.sa_mask);
    struct sigaction previous {};
    ::sigaction(SIGINT, &stop, &previous);
    SourceLoad load;
    {
        CPosixDirectorySource directories;
        const CProgressLine progress(theWalkControl,
                                     std::holds_alternative<FolderSource>(source) ? STDERR_FILENO : -1);
        load = LoadSource(source, theStampStore, directories, options.jobs, &theWalkControl);
    }
    ::sigaction(SIGINT, &previous, nullptr);
    return load;
}

void Complain(const std::string& message) {
    std::cerr << kProgram << ": " << message << '\n';
}

// --verbose: each mount point not entered on a line, and how many more were not named.
void NameMountPointsLeftOut(const LeftOutCounts& leftOut) {
    for (const std::string& path : leftOut.mountPointPaths)
        Complain("mount point '" + DisplayText(path) + "' left out");
    if (const auto unnamed = leftOut.mountPoints - static_cast<std::int64_t>(leftOut.mountPointPaths.size());
        unnamed > 0)
        Complain(CountOf(unnamed, "more mount point", "more mount points") + " left out");
}

std::string OutOfMemoryMessage(const std::string& folder) {
    return "not enough memory to analyze '" + DisplayText(folder) + "'";
}

// Writes to standard output with write(stream); false, with a message naming what, when it could
// not be written.
template <typename Write> bool PrintChecked(const char* what, Write write) {
    CCheckedOutput output(STDOUT_FILENO);
    write(output.Stream());
    if (const int error = output.Finish(); error != 0) {
        std::cerr << WriteFailureMessage(kProgram, what, error) << '\n';
        return false;
    }
    return true;
}

// The files of the compared range, out of a store that holds both ranges' files; the store then
// keeps only the first range's, as a walk of that range alone would have, and the files it
// drops count as left out.
CStampStore SplitOffComparedRange(const ReportOptions& options, LeftOutCounts& leftOut) {
    CStampStore compared;
    compared.Begin(theStampStore.GetFolder(), theStampStore.Kind(), theStampStore.Basis());
    for (const FileStamp& stamp : theStampStore.span())
        if (options.compared->Holds(stamp.m_lastWrite))
            compared.AddStamp(stamp.m_lastWrite);
    const DateRange first = DateRange::Between(options.filter.since, options.filter.until);
    const std::int64_t dropped = theStampStore.KeepWrittenIn(first.since, first.until);
    if (leftOut.filesOutsideRange)
        *leftOut.filesOutsideRange += dropped;
    return compared;
}

// Prints the chosen text report on standard output; false when it could not be written.
bool PrintReport(const ReportOptions& options, LeftOutCounts leftOut) {
    CStampStore comparedStore;
    if (options.compared)
        comparedStore = SplitOffComparedRange(options, leftOut);
    CPeriodHistograms histograms;
    histograms.m_countRule = options.countRule;
    if (options.format != ReportFormat::Times)
        histograms.RebuildHistograms(theStampStore, options.countRule);
    CPeriodHistograms comparedHistograms;
    if (options.compared)
        comparedHistograms.RebuildHistograms(comparedStore, options.countRule);
    const ComparedCounts compared{options.compared ? DateRangeName(*options.compared) : std::string(),
                                  comparedStore.GetSize(), comparedHistograms};
    return PrintChecked("the report", [&](std::ostream& out) {
        if (options.dates)
            WriteDatesReport(out, options.format, theStampStore, histograms, options.recordEnd);
        else
            WriteReport(out, options.format, theStampStore, histograms, options.views,
                        options.averagingPosition, leftOut, options.recordEnd,
                        options.compared ? &compared : nullptr);
    });
}

// Prints the files behind the curve at --files-at's point, or their counts by folder; false when
// they could not be written.
bool PrintFilesAt(const ReportOptions& options) {
    const FilesAtPoint files = SelectFilesAtPoint(theStampStore, FirstView(options), *options.filesAtBin,
                                                  options.averagingPosition, options.countRule);
    return PrintChecked("the list of files", [&](std::ostream& out) {
        if (options.formatChosen)
            WriteFilesAtSummary(out, theStampStore, files);
        else
            WriteFilesAtList(out, theStampStore, files);
    });
}

// Writes the files at --files-at's point, the picture or the report of the store; the exit status.
int WriteOutput(const ReportOptions& options, const LeftOutCounts& leftOut) {
    if (options.filesAtBin)
        return PrintFilesAt(options) ? 0 : kExitFolder;
    if (options.pngFile) {
        const std::string error = SaveGraphPng(theStampStore, options);
        if (!error.empty())
            Complain(DisplayText(error));
        return error.empty() ? 0 : kExitFolder;
    }
    return PrintReport(options, leftOut) ? 0 : kExitFolder;
}

// Reads what the options name and writes what they ask for; the exit status.
int Analyse(const ReportOptions& options) {
    theStampStore.KeepPlaces(PlacesNeeded(options));
    const AnalysisSource source = SourceOf(options);
    const SourceLoad load = LoadWhatIsAnalysed(options, source);
    for (const std::string& notice : load.notices)
        Complain(DisplayText(notice));
    if (load.stopped)
        return kExitInterrupted;
    if (load.failure != SourceLoad::Failure::None) {
        Complain(DisplayText(load.message));
        return load.failure == SourceLoad::Failure::BadInput ? kExitUsage : kExitFolder;
    }
    const ScanProblems& problems = theStampStore.GetProblems();
    const std::string& failed =
        load.foldersWalked.empty()
            ? options.folders.front()
            : load.foldersWalked[std::min(problems.rootIndex, load.foldersWalked.size() - 1)];
    if (problems.rootError == ENOMEM) {
        Complain(OutOfMemoryMessage(failed));
        return kExitFolder;
    }
    if (problems.rootError != 0) {
        Complain("cannot read folder '" + DisplayText(failed) + "': " + std::strerror(problems.rootError));
        return kExitFolder;
    }
    // Below one folder a path is given below it, below several it starts with its own folder.
    for (const UnreadableFolder& folder : problems.unreadable)
        Complain("cannot read '" + DisplayText(JoinPath(theStampStore.PathRoot(), folder.path)) +
                 "': " + std::strerror(folder.error));
    if (problems.unreadableFolders > 0)
        Complain(CountOf(problems.unreadableFolders, "folder", "folders") + " below '" +
                 DisplayText(theStampStore.GetFolder()) + "' could not be read");

    if (options.verbose)
        NameMountPointsLeftOut(load.leftOut);
    return WriteOutput(options, load.leftOut);
}

} // namespace

int main(int argc, char** argv) {
    HoldClosedStandardDescriptors();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    ParsedReportOptions parsed = ParseReportOptions(arguments);
    if (!parsed.error.empty()) {
        Complain(DisplayText(parsed.error) + " (see busyscope-report --help)");
        return kExitUsage;
    }
    ReportOptions& options = parsed.options;
    if (options.help)
        return PrintOrComplain(kProgram, "the help", ReportUsage());
    if (options.version)
        return PrintOrComplain(kProgram, "the version",
                               std::string(kProgram) + " " + kBusyscopeVersion + "\n");

    try {
        return Analyse(options);
    } catch (const std::bad_alloc&) {
        // The walk keeps its own running out to itself; this is the rest (histograms, picture).
        Complain(OutOfMemoryMessage(FolderListName(options.folders)));
        return kExitFolder;
    }
}
