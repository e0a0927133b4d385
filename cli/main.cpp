#include "period_histograms.h"
#include "png_export.h"
#include "posix_directory_source.h"
#include "progress_line.h"
#include "report_options.h"
#include "report_writer.h"
#include "stamp_store.h"
#include "text_escape.h"
#include "walk_control.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kExitFolder = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 128 + SIGINT;

WalkControl theWalkControl;

extern "C" void RequestStop(int) {
    theWalkControl.stopRequested.store(true, std::memory_order_relaxed);
}

// Walks the folder with Ctrl+C turned into a stop request and the progress shown on a
// terminal; false when it was stopped.
bool ScanFolderTree(const ReportOptions& options) {
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    sigemptyset(&stop.sa_mask);
    struct sigaction previous {};
    ::sigaction(SIGINT, &stop, &previous);
    bool complete = false;
    {
        CPosixDirectorySource source;
        const CProgressLine progress(theWalkControl, STDERR_FILENO);
        complete = theStampStore.Scan(options.folder, source, options.jobs, &theWalkControl);
    }
    ::sigaction(SIGINT, &previous, nullptr);
    return complete && !theWalkControl.stopRequested.load();
}

void Complain(const std::string& message) {
    std::cerr << "busyscope-report: " << message << '\n';
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
    if (options.help) {
        std::cout << ReportUsage();
        return std::cout.flush() ? 0 : kExitFolder;
    }

    if (!ScanFolderTree(options))
        return kExitInterrupted;
    const ScanProblems& problems = theStampStore.GetProblems();
    if (problems.rootError != 0) {
        Complain("cannot read folder '" + DisplayText(options.folder) +
                 "': " + std::strerror(problems.rootError));
        return kExitFolder;
    }
    if (problems.unreadableFolders > 0)
        Complain(std::to_string(problems.unreadableFolders) + " folder(s) below '" +
                 DisplayText(options.folder) + "' could not be read");

    if (options.pngFile) {
        const std::string error = SaveGraphPng(theStampStore, options);
        if (!error.empty()) {
            Complain(DisplayText(error));
            return kExitFolder;
        }
        return 0;
    }

    CPeriodHistograms histograms;
    if (options.format != ReportFormat::Times)
        histograms.RebuildHistograms(theStampStore);
    switch (options.format) {
    case ReportFormat::Summary:
        WriteSummary(std::cout, theStampStore, histograms, options.views);
        break;
    case ReportFormat::Csv:
        WriteCsv(std::cout, histograms, options.views);
        break;
    case ReportFormat::Json:
        WriteJson(std::cout, theStampStore, histograms, options.views);
        break;
    case ReportFormat::Times:
        WriteTimes(std::cout, theStampStore);
        break;
    }
    if (!std::cout.flush()) {
        Complain("cannot write the report: " + std::string(std::strerror(errno)));
        return kExitFolder;
    }
    return 0;
}
