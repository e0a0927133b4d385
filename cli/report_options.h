#pragma once

#include "filtered_directory_source.h"
#include "folder_walk.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class ReportFormat { Summary, Csv, Json, Times };

// What busyscope-report was asked to do.
struct ReportOptions {
    std::vector<int> views{0, 1, 2, 3}; // ViewMode values to report, in view order
    ReportFormat format = ReportFormat::Summary;
    std::string folder;
    bool help = false;
    bool version = false;

    // --exclude, --exclude-vcs, --since, --until: what the walk leaves out.
    EntryFilter filter;
    int jobs = WalkLimits::kDefaultJobs; // threads reading the folder tree

    // --times-from: lists of times read instead of a walk ("-" is standard input), in order.
    std::vector<std::string> timeLists;
    // --git, --all, --author: the commits of the repository at FOLDER instead of its files.
    bool git = false;
    bool allRefs = false;
    std::vector<std::string> authors;

    // --png: a picture of the graph instead of text.
    std::optional<std::string> pngFile;
    int width = 800;
    int height = 500;
    int averagingPosition = 50;
    double xOffset = 0.0;
    double yScale = 6.5;
};

struct ParsedReportOptions {
    ReportOptions options;
    std::string error; // one line naming the problem; empty when the command line is good
};

// Parses the arguments after the program name. Options take their value as the next
// argument or after '='; "--" ends the options.
ParsedReportOptions ParseReportOptions(std::span<const std::string> arguments);

// The --help text.
std::string ReportUsage();

// "day", "week", "month", "year"; and back.
std::string_view ViewName(int view);
std::optional<int> ViewFromName(std::string_view name);
