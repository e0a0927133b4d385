#pragma once

#include "analysis_source.h"
#include "date_range.h"
#include "defaults.h"
#include "entry_filter.h"
#include "period_histograms.h"
#include "time_list.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// How --view names the calendar of the days.
inline constexpr std::string_view kDatesViewName = "dates";

enum class ReportFormat { Summary, Csv, Json, Times };

// What busyscope-report was asked to do.
struct ReportOptions {
    std::vector<int> views{0, 1, 2, 3}; // ViewMode values to report, in view order
    bool dates = false; // --view dates: the days of the calendar instead
    ReportFormat format = ReportFormat::Summary;
    bool formatChosen = false;              // --format was given
    CountRule countRule = CountRule::Files; // --count
    std::vector<std::string> folders{"."};  // analysed together as one
    bool help = false;
    bool version = false;

    // --exclude, --exclude-vcs, --since, --until: what the walk leaves out.
    EntryFilter filter;
    int jobs = kDefaultJobs; // threads reading the folder tree
    bool verbose = false;    // --verbose: name on standard error what the walk left out
    // --compare-since, --compare-until: a second time range whose counts are reported beside
    // those of --since and --until; the range once both ends are read and checked.
    EntryFilter compareEnds;
    std::optional<DateRange> compared;

    // --files-at: the files behind the curve's point at WHEN, which names this bin of the first
    // chosen view.
    std::optional<std::string> filesAt;
    std::optional<int> filesAtBin;

    // --times-from: lists of times read instead of a walk ("-" is standard input), in order.
    std::vector<std::string> timeLists;
    // --null: the lists of --times-from, and the list --format times writes, are NUL-ended
    // records (with paths, when written) rather than lines.
    RecordEnd recordEnd = RecordEnd::Newline;
    // --git, --all, --author: the commits of the repository at FOLDER instead of its files.
    bool git = false;
    bool allRefs = false;
    std::vector<std::string> authors;

    // --png: a picture of the graph instead of text; "-" is standard output.
    std::optional<std::string> pngFile;
    int width = kDefaultPictureWidth;
    int height = kDefaultPictureHeight;
    int averagingPosition = kDefaultAveragingPosition;
    double xOffset = 0.0;
    double yScale = kDefaultFullScale;
};

struct ParsedReportOptions {
    ReportOptions options;
    std::string error; // one line naming the problem; empty when the command line is good
};

// Parses the arguments after the program name. Long options take their value as the next
// argument or after '=', short ones as the next argument or glued on ("-j4"); "--" ends the
// options. Every argument that is not an option is a folder; "." when none is given.
ParsedReportOptions ParseReportOptions(std::span<const std::string> arguments);

// What the options say to analyse.
AnalysisSource SourceOf(const ReportOptions& options);

// The --help text.
std::string ReportUsage();

// The view --png and --files-at use: the first chosen one.
int FirstView(const ReportOptions& options);
