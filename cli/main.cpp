#include "period_histograms.h"
#include "png_export.h"
#include "report_options.h"
#include "report_writer.h"
#include "stamp_store.h"
#include "text_escape.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitFolder = 1;
constexpr int kExitUsage = 2;

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

    theStampStore.Scan(options.folder);
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
