#include "analysis_period.h"
#include "busyscope_version.h"
#include "checked_output.h"
#include "files_at_point.h"
#include "files_at_report.h"
#include "filtered_directory_source.h"
#include "git_history.h"
#include "period_histograms.h"
#include "png_export.h"
#include "posix_directory_source.h"
#include "progress_line.h"
#include "report_options.h"
#include "report_writer.h"
#include "stamp_store.h"
#include "text_escape.h"
#include "time_list.h"
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

// Names for the files listed by --files-at; folders for the bursts of the summary and JSON and
// for --files-at's counts by folder; nothing for the rest.
PlaceDetail PlacesNeeded(const ReportOptions& options) {
    if (options.filesAtBin)
        return options.formatChosen ? PlaceDetail::Folders : PlaceDetail::Names;
    if (options.pngFile || options.format == ReportFormat::Csv || options.format == ReportFormat::Times)
        return PlaceDetail::None;
    return PlaceDetail::Folders;
}

// Walks the folder, leaving out what the options say, with Ctrl+C turned into a stop request and
// the progress shown on a terminal; false when it was stopped.
bool ScanFolderTree(const ReportOptions& options, LeftOutCounts& leftOut) {
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    sigemptyset(&stop.sa_mask);
    struct sigaction previous {};
    ::sigaction(SIGINT, &stop, &previous);
    bool complete = false;
    {
        CPosixDirectorySource posixSource;
        CFilteredDirectorySource source(posixSource, options.filter);
        const CProgressLine progress(theWalkControl, STDERR_FILENO);
        complete = theStampStore.Scan(options.folders, source, options.jobs, &theWalkControl);
        leftOut = source.Counts();
    }
    ::sigaction(SIGINT, &previous, nullptr);
    return complete && !theWalkControl.stopRequested.load();
}

void Complain(const std::string& message) {
    std::cerr << kProgram << ": " << message << '\n';
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

// Prints the chosen text report on standard output; false when it could not be written.
bool PrintReport(const ReportOptions& options, const LeftOutCounts& leftOut) {
    CPeriodHistograms histograms;
    histograms.m_countRule = options.countRule;
    if (options.format != ReportFormat::Times)
        histograms.RebuildHistograms(theStampStore, options.countRule);
    return PrintChecked("the report", [&](std::ostream& out) {
        WriteReport(out, options.format, theStampStore, histograms, options.views, options.averagingPosition,
                    leftOut);
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
        if (!error.empty()) {
            Complain(DisplayText(error));
            return kExitFolder;
        }
        return 0;
    }
    return PrintReport(options, leftOut) ? 0 : kExitFolder;
}

// Reads the time lists instead of a folder; the exit status.
int AnalyseTimeLists(const ReportOptions& options) {
    const TimeListsLoad load = LoadTimeLists(options.timeLists, theStampStore);
    if (load.failure != TimeListsLoad::Failure::None) {
        Complain(DisplayText(load.message));
        return load.failure == TimeListsLoad::Failure::NotATime ? kExitUsage : kExitFolder;
    }
    return WriteOutput(options, {});
}

// Reads the commits of the repository at the folder instead of its files; the exit status.
int AnalyseGitHistory(const ReportOptions& options) {
    GitHistoryOptions history;
    history.allRefs = options.allRefs;
    history.authors = options.authors;
    if (const std::string error = LoadGitHistory(options.folders.front(), history, theStampStore); !error.empty()) {
        Complain(DisplayText(error));
        return kExitFolder;
    }
    return WriteOutput(options, {});
}

// Reads the folder and writes what the options ask for; the exit status.
int Analyse(const ReportOptions& options) {
    theStampStore.KeepPlaces(PlacesNeeded(options));
    if (!options.timeLists.empty())
        return AnalyseTimeLists(options);
    if (options.git)
        return AnalyseGitHistory(options);
    LeftOutCounts leftOut;
    if (!ScanFolderTree(options, leftOut))
        return kExitInterrupted;
    const ScanProblems& problems = theStampStore.GetProblems();
    const std::string& failed = options.folders[std::min(problems.rootIndex, options.folders.size() - 1)];
    if (problems.rootError == ENOMEM) {
        Complain(OutOfMemoryMessage(failed));
        return kExitFolder;
    }
    if (problems.rootError != 0) {
        Complain("cannot read folder '" + DisplayText(failed) + "': " + std::strerror(problems.rootError));
        return kExitFolder;
    }
    // Below one folder a path is given below it, below several it starts with its own folder.
    const std::string root = options.folders.size() == 1 ? options.folders.front() : std::string();
    for (const UnreadableFolder& folder : problems.unreadable)
        Complain("cannot read '" + DisplayText(JoinPath(root, folder.path)) +
                 "': " + std::strerror(folder.error));
    if (problems.unreadableFolders > 0)
        Complain(CountOf(problems.unreadableFolders, "folder", "folders") + " below '" +
                 DisplayText(theStampStore.GetFolder()) + "' could not be read");

    return WriteOutput(options, leftOut);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedReportOptions parsed = ParseReportOptions(arguments);
    if (!parsed.error.empty()) {
        Complain(DisplayText(parsed.error) + " (see busyscope-report --help)");
        return kExitUsage;
    }
    const ReportOptions& options = parsed.options;
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
