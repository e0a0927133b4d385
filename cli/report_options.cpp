#include "report_options.h"

#include "analysis_period.h"
#include "c_locale_format.h"
#include "when_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>

namespace {

struct FormatName {
    std::string_view name;
    ReportFormat format;
};
constexpr std::array<FormatName, 4> kFormats{{
    {"summary", ReportFormat::Summary},
    {"csv", ReportFormat::Csv},
    {"json", ReportFormat::Json},
    {"times", ReportFormat::Times},
}};

// Stores an option's value (empty for a flag) and returns an error text, or "" when it is good.
using ApplyOption = std::function<std::string(ReportOptions&, std::string_view)>;

// One command-line option.
struct CommandOption {
    std::string_view name;
    char shortName;             // '\0' for none
    std::string_view valueName; // empty for a flag
    std::string help;
    ApplyOption apply;
};

// A flag's apply: sets the member that the chain of members names (filter, then oneFileSystem) to value.
template <typename Value, typename... Members> ApplyOption Sets(Value value, Members... members) {
    return [=](ReportOptions& options, std::string_view) {
        (options.*....*members) = value;
        return std::string();
    };
}

// A number option's apply: a number within [low, high] (NaN and infinities are never within), or
// an error text naming the option.
template <typename Number>
ApplyOption ReadsNumber(std::string_view option, Number ReportOptions::*member,
                        std::type_identity_t<Number> low, std::type_identity_t<Number> high) {
    return [=](ReportOptions& options, std::string_view text) {
        Number value{};
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size() && value >= low && value <= high) {
            options.*member = value;
            return std::string();
        }
        // Whole numbers as such, never with an exponent: "-1000000 to 1000000".
        const auto show = [](double bound) { return FormatInCLocale("%.15g", bound); };
        return std::string(option) + " takes a number from " + show(low) + " to " + show(high) + ", not '" +
               std::string(text) + "'";
    };
}

// A date option's apply: one end of a time range.
ApplyOption ReadsRangeEnd(EntryFilter ReportOptions::*range, std::optional<std::int64_t> EntryFilter::*end) {
    return [=](ReportOptions& options, std::string_view value) {
        return SetRangeEnd(options.*range.*end, value);
    };
}

// " (default: 6.5)": the --help text of a default, from the one place the defaults are kept.
std::string DefaultText(double value) {
    return " (default: " + FormatInCLocale("%g", value) + ")";
}

constexpr int kLargestPicture = 8192;
// The column where --help starts each option's description, two spaces after a longer name.
constexpr std::size_t kHelpDescriptionColumn = 36;
constexpr int kMostJobs = 256;

const std::vector<CommandOption>& Options() {
    static const std::vector<CommandOption> table{
        {"--view", '\0', "day|week|month|year|dates", "report only this view (default: the first four)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             const std::optional<int> view = ViewFromName(value);
             options.dates = value == kDatesViewName;
             if (!view && !options.dates)
                 return "unknown view '" + std::string(value) +
                        "' (expected day, week, month, year or dates)";
             options.views = view ? std::vector<int>{*view} : std::vector<int>();
             return {};
         }},
        {"--format", 'f', "summary|csv|json|times", "what to print (default: summary)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             const auto format = std::ranges::find(kFormats, value, &FormatName::name);
             if (format == kFormats.end())
                 return "unknown format '" + std::string(value) + "' (expected summary, csv, json or times)";
             options.format = format->format;
             options.formatChosen = true;
             return {};
         }},
        {"--count", '\0', "files|minutes",
         "count every file, or every minute with a file written once "
         "(default: files)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             const std::optional<CountRule> rule = CountRuleFromName(value);
             if (!rule)
                 return "unknown count '" + std::string(value) + "' (expected " +
                        std::string(CountRuleName(CountRule::Files)) + " or " +
                        std::string(CountRuleName(CountRule::ActiveMinutes)) + ")";
             options.countRule = *rule;
             return {};
         }},
        {"--files-at", '\0', "WHEN", "list the files behind the curve at WHEN (see below)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             options.filesAt = std::string(value); // read once the view is known
             return {};
         }},
        {"--png", '\0', "FILE", "save a picture of the graph as a PNG file instead of printing text",
         [](ReportOptions& options, std::string_view value) -> std::string {
             if (value.empty())
                 return "--png needs a file name";
             options.pngFile = std::string(value);
             return {};
         }},
        {"--width", '\0', "W", "picture width in pixels" + DefaultText(kDefaultPictureWidth),
         ReadsNumber("--width", &ReportOptions::width, 1, kLargestPicture)},
        {"--height", '\0', "H", "picture height in pixels" + DefaultText(kDefaultPictureHeight),
         ReadsNumber("--height", &ReportOptions::height, 1, kLargestPicture)},
        {"--average", '\0', "P",
         "averaging slider position 0 to 100" + DefaultText(kDefaultAveragingPosition),
         ReadsNumber("--average", &ReportOptions::averagingPosition, 0, 100)},
        {"--offset", '\0', "BINS", "turn the period right by this many bins (default: 0)",
         ReadsNumber("--offset", &ReportOptions::xOffset, -1e6, 1e6)},
        {"--scale", '\0', "S", "density at the top of the graph, 1 to 999" + DefaultText(kDefaultFullScale),
         ReadsNumber("--scale", &ReportOptions::yScale, kSmallestFullScale, kLargestFullScale)},
        {"--exclude", 'e', "PATTERN", "leave out entries whose name matches the shell pattern (repeatable)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             return value.empty() ? "--exclude needs a pattern" : AddPattern(options.filter, value);
         }},
        {"--exclude-vcs", '\0', "", "leave out version-control entries (" + VersionControlFolderList() + ")",
         Sets(true, &ReportOptions::filter, &EntryFilter::excludeVersionControl)},
        {"--one-file-system", 'x', "", "stay on the file system of FOLDER",
         Sets(true, &ReportOptions::filter, &EntryFilter::oneFileSystem)},
        {"--verbose", 'v', "", "name each mount point left out on standard error",
         Sets(true, &ReportOptions::verbose)},
        {"--since", '\0', "DATE", "keep only files written at DATE or later",
         ReadsRangeEnd(&ReportOptions::filter, &EntryFilter::since)},
        {"--until", '\0', "DATE", "keep only files written before DATE",
         ReadsRangeEnd(&ReportOptions::filter, &EntryFilter::until)},
        {"--compare-since", '\0', "DATE", "report beside the counts those of the files written from DATE",
         ReadsRangeEnd(&ReportOptions::compareEnds, &EntryFilter::since)},
        {"--compare-until", '\0', "DATE", "...and before DATE (both given; --png draws their curve too)",
         ReadsRangeEnd(&ReportOptions::compareEnds, &EntryFilter::until)},
        {"--times-from", '\0', "FILE",
         "read times from a list instead of walking FOLDER (- is standard input; repeatable)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             if (value.empty())
                 return "--times-from needs a file name";
             if (value == "-" && std::ranges::find(options.timeLists, "-") != options.timeLists.end())
                 return "--times-from - reads standard input, which can be read only once";
             options.timeLists.emplace_back(value);
             return {};
         }},
        {"--null", '0', "", "lists of --times-from and --format times end each record with NUL, not newline",
         Sets(RecordEnd::Nul, &ReportOptions::recordEnd)},
        {"--git", '\0', "", "analyze the commits of the repository at FOLDER instead of its files",
         Sets(true, &ReportOptions::git)},
        {"--all", '\0', "", "with --git: the commits of every branch and tag, not only HEAD's",
         Sets(true, &ReportOptions::allRefs)},
        {"--author", '\0', "PATTERN",
         "with --git: keep commits whose author \"NAME <E-MAIL>\" contains PATTERN (repeatable)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             if (value.empty())
                 return "--author needs a pattern";
             options.authors.emplace_back(value);
             return {};
         }},
        {"--jobs", 'j', "N", "read the folder tree with N threads, 1 to 256" + DefaultText(kDefaultJobs),
         ReadsNumber("--jobs", &ReportOptions::jobs, 1, kMostJobs)},
        {"--help", 'h', "", "show this help and exit", Sets(true, &ReportOptions::help)},
        {"--version", 'V', "", "show the version and exit", Sets(true, &ReportOptions::version)},
    };
    return table;
}

const CommandOption* FindOption(std::string_view name) {
    for (const CommandOption& option : Options())
        if (option.name == name ||
            (name.size() == 2 && option.shortName != '\0' && name[1] == option.shortName))
            return &option;
    return nullptr;
}

// An option argument split into its name and, when it carries one, its value: "--jobs=4" and
// "-j4" both give a value.
std::pair<std::string_view, std::optional<std::string_view>> SplitOption(std::string_view argument) {
    if (argument.starts_with("--")) {
        const std::size_t equals = argument.find('=');
        if (equals == std::string_view::npos)
            return {argument, std::nullopt};
        return {argument.substr(0, equals), argument.substr(equals + 1)};
    }
    if (argument.size() == 2)
        return {argument, std::nullopt};
    return {argument.substr(0, 2), argument.substr(2)};
}

// The source options as given; FOLDER only when one was.
SourceRequest SourceRequestOf(const ReportOptions& options, bool haveFolder) {
    return {haveFolder ? options.folders : std::vector<std::string>(),
            options.timeLists,
            options.recordEnd,
            options.git,
            options.allRefs,
            options.authors};
}

// What the walk leaves out: the rules, with the time range widened to keep the compared
// range's files too when there is one.
EntryFilter WalkFilter(const ReportOptions& options) {
    EntryFilter walk = options.filter;
    if (options.compared) {
        if (walk.since)
            walk.since = std::min(*walk.since, options.compared->since);
        if (walk.until)
            walk.until = std::max(*walk.until, options.compared->until);
    }
    return walk;
}

// Why the options are refused together, or "" when they are good; reads the point of --files-at.
std::string CombinationProblem(ReportOptions& options, bool haveFolder) {
    const int view = FirstView(options);
    if (options.filesAt && options.dates)
        return "--files-at names a point of the day, week, month or year view, not of the dates view";
    if (options.filesAt) {
        options.filesAtBin = BinFromWhen(view, *options.filesAt);
        if (!options.filesAtBin) {
            const std::string remark = WhenRemark(view, *options.filesAt);
            return "--files-at in the " + std::string(ViewName(view)) + " view takes " + WhenForm(view) +
                   ", not '" + *options.filesAt + "'" + (remark.empty() ? "" : ": " + remark);
        }
        if (options.pngFile)
            return "--files-at and --png cannot be used together";
        if (options.formatChosen && options.format != ReportFormat::Summary)
            return "--files-at lists files, or counts them by folder with --format summary";
    }
    const bool comparing = options.compareEnds.since || options.compareEnds.until;
    if (std::string problem = RulesProblem(options.filter); !problem.empty())
        return problem;
    if (comparing && !(options.compareEnds.since && options.compareEnds.until))
        return "--compare-since and --compare-until are given together";
    if (std::string problem = RulesProblem(options.compareEnds); !problem.empty())
        return problem;
    if (comparing && (options.filesAt || options.format == ReportFormat::Times))
        return "--compare-since and --compare-until add to the summary, csv and json formats and --png";
    if (comparing && (!options.timeLists.empty() || options.git))
        return "--compare-since and --compare-until apply to a walk of files only";
    if (options.pngFile && options.formatChosen)
        return "--png saves a picture and --format prints text: give one of them";
    if (!options.git && (options.allRefs || !options.authors.empty()))
        return SourceRequestProblem(SourceRequestOf(options, haveFolder));
    if (options.help || options.version)
        return {};
    const EntryFilter& rules = options.filter;
    if ((!options.timeLists.empty() || options.git) &&
        (!rules.excludedNames.empty() || rules.since || rules.until))
        return "--exclude, --exclude-vcs, --since and --until apply to a walk of files only";
    if (options.recordEnd == RecordEnd::Nul && options.timeLists.empty() &&
        options.format != ReportFormat::Times)
        return "--null applies to the lists of --times-from and --format times";
    return SourceRequestProblem(SourceRequestOf(options, haveFolder));
}

} // namespace

AnalysisSource SourceOf(const ReportOptions& options) {
    return SourceFromRequest(SourceRequestOf(options, true), WalkFilter(options));
}

ParsedReportOptions ParseReportOptions(std::span<const std::string> arguments) {
    ParsedReportOptions parsed;
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            folders.push_back(argument);
            continue;
        }
        const auto [name, glued] = SplitOption(argument);
        const CommandOption* option = FindOption(name);
        if (option == nullptr) {
            parsed.error = "unknown option '" + std::string(name) + "'";
            return parsed;
        }
        const bool takesValue = !option->valueName.empty();
        if (!takesValue && glued)
            parsed.error = "option " + std::string(name) + " takes no value";
        else if (takesValue && !glued && i + 1 == arguments.size())
            parsed.error =
                "option " + std::string(name) + " needs a value (" + std::string(option->valueName) + ")";
        else if (takesValue)
            parsed.error = option->apply(parsed.options, glued ? *glued : std::string_view(arguments[++i]));
        else
            parsed.error = option->apply(parsed.options, {});
        if (!parsed.error.empty())
            return parsed;
    }
    ReportOptions& options = parsed.options;
    const bool haveFolder = !folders.empty();
    if (haveFolder)
        options.folders = std::move(folders);
    parsed.error = CombinationProblem(options, haveFolder);
    if (parsed.error.empty() && options.compareEnds.since && options.compareEnds.until)
        options.compared = DateRange{*options.compareEnds.since, *options.compareEnds.until};
    return parsed;
}

std::string ReportUsage() {
    std::string text = "Usage: busyscope-report [OPTION]... [FOLDER]...\n"
                       "  or:  busyscope-report [OPTION]... --times-from FILE...\n"
                       "  or:  busyscope-report --git [--all] [--author PATTERN]... [OPTION]... [FOLDER]\n"
                       "Walks the folder tree below FOLDER and reports when its files were last written,\n"
                       "folded into the day, week, month and year, in local time (the TZ environment\n"
                       "variable is honoured). Links are not followed: each counts as a file with its "
                       "own\ntime. A folder that is its own ancestor (a bind mount) is not entered again.\n"
                       "FOLDER is the current folder when none is given; several are analysed together\n"
                       "as one, and the title names the first and how many more. A folder given twice,\n"
                       "or inside another one given, is read once, with a note on standard error.\n\n"
                       "Options:\n";
    for (const CommandOption& option : Options()) {
        std::string left = option.shortName != '\0' ? std::string("  -") + option.shortName + ", " : "      ";
        left += option.name;
        if (!option.valueName.empty())
            left += " " + std::string(option.valueName);
        left.resize(std::max(left.size() + 2, kHelpDescriptionColumn), ' ');
        text += left + std::string(option.help) + "\n";
    }
    text += "\nFormats:\n"
            "  summary  the title line \"N files in FOLDER\" (with \"(M entries left out)\" when\n"
            "           names are excluded), the count of files written outside the time range\n"
            "           when one is given, the count of mount points left out when there are\n"
            "           any, then the busiest bin of each view: its time and its\n"
            "           file count, and the busiest time of the curve averaged as --average says;\n"
            "           then the ten largest bursts (runs of seconds, each at most 2 seconds\n"
            "           after the one before, writing into the same folder: one folder below\n"
            "           the analysed one holds more than half of the burst's files and of the\n"
            "           next second's; times without a path and commits join by time alone),\n"
            "           largest first, each with its start and end, its file count and the\n"
            "           deepest folder holding more than half of them (its subfolders\n"
            "           included) with its share\n"
            "  csv      header view,bin,time,count,start_seconds,width_seconds and one row per\n"
            "           bin of each view, in bin order; time is the bin's display text, quoted;\n"
            "           start_seconds is where the bin starts, counted from the start of its\n"
            "           period, and width_seconds its length (a year counts 365 days)\n"
            "  json     the same bins as one JSON document (startSeconds, widthSeconds), with\n"
            "           the program version, the time zone, the folder and file counts and the\n"
            "           counts of entries, files and mount points left out and what was\n"
            "           counted (\"count\"), and the same bursts (start, end, files, folder)\n"
            "  times    every file's last-write time in whole seconds since 1970 UTC, one per line,\n"
            "           in walk order; with --null each time is followed by a space and the\n"
            "           file's path (as --files-at names it, byte for byte) and ended by a NUL\n\n"
            "With --view dates the report is of the calendar days that hold files (local\n"
            "days; a history's on its authors' clocks), counted as --count says: the summary\n"
            "gives the title line, the busiest day, the busiest week (Sunday to Saturday)\n"
            "and the number of active days; csv gives the header date,count and one row per\n"
            "day with files, oldest first, dates as 2024-03-05; json gives the same days with\n"
            "the busiest day and week and the count of active days. With --png the picture\n"
            "is the calendar as the window's Dates view paints it, at the width given and\n"
            "as tall as its years need.\n\n"
            "A time list holds one time per line: whole seconds since 1970 UTC as --format\n"
            "times writes them, or the lines of find -printf '%T@\\n' (the fraction is dropped)\n"
            "or find -printf '%T@ %p\\n' (the path is kept). Several lists make one analysis;\n"
            "a line that is not a time stops the report with its file and line number. CRLF\n"
            "line ends, blanks around a line and blank lines at the end are allowed. With\n"
            "--null each record ends with a NUL byte instead, as find -printf '%T@ %p\\0' and\n"
            "--format times --null write them, and a path keeps every byte, newlines too.\n"
            "A path stays absolute or relative as the list gives it; one that ends in '/'\n"
            "names a folder and is refused, as is a line holding a NUL byte. A line longer\n"
            "than 1 MiB, or a list that cannot be read to its end, ends the report with\n"
            "exit status 1.\n\n"
            "With --git each commit counts once, at its author time on the author's own clock\n"
            "(a commit written at 10:00 in Tokyo counts at 10:00 wherever it is analyzed);\n"
            "the --author PATTERN is looked for, ignoring case, in the author's \"NAME <E-MAIL>\".\n"
            "Commits are those git log lists in FOLDER; one whose author time cannot be read\n"
            "is skipped and counted on standard error, as is where a shallow clone's history\n"
            "is cut short.\n\n"
            "With --count minutes every minute (of UTC time) in which at least one file was\n"
            "written counts once, however many files it holds: the summary's title adds\n"
            "\"(M active minutes)\", its busiest lines and the bins count minutes, and times\n"
            "lists the first second of each active minute, in time order.\n\n"
            "The PATTERN of --exclude is matched against each entry's name alone, at any\n"
            "depth, as the shell would match it (quote it). A leading '/' anchors it to\n"
            "FOLDER, and one holding a '/' is matched against the entry's path below FOLDER\n"
            "(build/*.o), where '*' stays within one folder and a '**' part matches any\n"
            "number of folders (src/**/gen, **/cache). A trailing '/' matches folders only\n"
            "(build/). A folder that matches is not entered. Blanks at either end of a\n"
            "PATTERN or DATE are dropped; a PATTERN that names no entry (/) or leaves a '['\n"
            "open is refused, as the window's Leave Out dialog refuses it.\n"
            "DATE is an ISO 8601 date or date and time in local time, such as 2024-03-31 or\n"
            "2024-03-31T14:30:00; a date alone means its midnight.\n\n"
            "--files-at lists the files whose bins the curve sums at WHEN: the averaging\n"
            "window of --average centred there, in the view of --view (day when not given),\n"
            "as the window's Files list shows them: one \"local-time<TAB>path\" line each, in\n"
            "walk order, paths below FOLDER (a list's as it gives them). With --git a\n"
            "commit's path is its id and subject; a time listed without a path has the time\n"
            "alone. With --format summary it prints the list's title and the Files window's\n"
            "tree of folders, one \"COUNT<TAB>SHARE<TAB>FOLDER\" line each: a folder counts\n"
            "the files of its subfolders too and comes before them, largest first, FOLDER\n"
            "indented two spaces a level below its parent and named below it; a chain of\n"
            "folders with no files of their own and one subfolder each is one line\n"
            "(lib/sdk/lib); . holds the files of FOLDER itself, and \"(times without a\n"
            "path)\" the times a list gives without one.\n"
            "WHEN is, per view:\n"
            "  day    HH:MM           14:30\n"
            "  week   DAY HH:MM       Tue 14:30 (Sun to Sat, or the whole name)\n"
            "  month  D HH:MM         15 14:30 (day 1 to 31)\n"
            "  year   MON-DD HH:MM    Mar-05 14:30 (Jan to Dec; a common year: no Feb-29)\n"
            "with hours from 00 to 23.\n\n"
            "With --png the graph is saved as the window would paint it at that size, for the\n"
            "first chosen view (day when --view is not given); no display is needed. --png -\n"
            "writes the picture to standard output. --png and --format cannot be combined.\n\n"
            "Mount points of the kernel's made-up file systems (proc, sysfs, devtmpfs, devpts,\n"
            "cgroup and the like) are never entered unless FOLDER is on one; with -x no other\n"
            "file system is. The summary says how many mount points were left out.\n"
            "Each folder that cannot be read is named on standard error, one line each,\n"
            "and then counted there.\n"
            "While the walk runs, standard error shows how far it has got when it is a\n"
            "terminal. Ctrl+C stops the walk; nothing is printed then.\n"
            "Many threads pay off on network file systems, where each waits for the server.\n"
            "Exit status: 0 on success, 1 when FOLDER or a list cannot be read, FOLDER is no\n"
            "repository --git can read, or output fails, 2 for a bad command line or a line\n"
            "of a time list that is not a time, 130 when stopped by Ctrl+C.\n";
    return text;
}

int FirstView(const ReportOptions& options) {
    return options.views.empty() ? VIEW_DAY : options.views.front();
}
