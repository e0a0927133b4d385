#include "report_options.h"

#include "analysis_period.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

constexpr std::array<std::string_view, 4> kViewNames{"day", "week", "month", "year"};

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

// One command-line option. apply stores a value (empty for a flag) and returns an error
// text, or "" when the value is good.
struct CommandOption {
    std::string_view name;
    std::string_view valueName; // empty for a flag
    std::string_view help;
    std::function<std::string(ReportOptions&, std::string_view)> apply;
};

const std::vector<CommandOption>& Options() {
    static const std::vector<CommandOption> options{
        {"--view", "day|week|month|year", "report only this view (default: all four)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             const std::optional<int> view = ViewFromName(value);
             if (!view)
                 return "unknown view '" + std::string(value) + "' (expected day, week, month or year)";
             options.views = {*view};
             return {};
         }},
        {"--format", "summary|csv|json|times", "what to print (default: summary)",
         [](ReportOptions& options, std::string_view value) -> std::string {
             for (const FormatName& format : kFormats) {
                 if (format.name == value) {
                     options.format = format.format;
                     return {};
                 }
             }
             return "unknown format '" + std::string(value) + "' (expected summary, csv, json or times)";
         }},
        {"--help", "", "show this help and exit",
         [](ReportOptions& options, std::string_view) -> std::string {
             options.help = true;
             return {};
         }},
    };
    return options;
}

const CommandOption* FindOption(std::string_view name) {
    for (const CommandOption& option : Options())
        if (option.name == name)
            return &option;
    return nullptr;
}

} // namespace

ParsedReportOptions ParseReportOptions(std::span<const std::string> arguments) {
    ParsedReportOptions parsed;
    bool haveFolder = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (haveFolder) {
                parsed.error = "more than one FOLDER given: '" + argument + "'";
                return parsed;
            }
            parsed.options.folder = argument;
            haveFolder = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const CommandOption* option = FindOption(name);
        if (option == nullptr) {
            parsed.error = "unknown option '" + std::string(name) + "'";
            return parsed;
        }
        std::string_view value;
        if (option->valueName.empty()) {
            if (equals != std::string::npos) {
                parsed.error = "option " + std::string(name) + " takes no value";
                return parsed;
            }
        } else if (equals != std::string::npos) {
            value = std::string_view(argument).substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            parsed.error =
                "option " + std::string(name) + " needs a value (" + std::string(option->valueName) + ")";
            return parsed;
        }
        parsed.error = option->apply(parsed.options, value);
        if (!parsed.error.empty())
            return parsed;
    }
    if (!haveFolder && !parsed.options.help)
        parsed.error = "no FOLDER given";
    return parsed;
}

std::string ReportUsage() {
    std::string text = "Usage: busyscope-report [OPTION]... FOLDER\n"
                       "Walks the folder tree below FOLDER and reports when its files were last written,\n"
                       "folded into the day, week, month and year, in local time (the TZ environment\n"
                       "variable is honoured). Links are not followed: each counts as a file with its "
                       "own\ntime. A folder that is its own ancestor (a bind mount) is not entered again.\n\n"
                       "Options:\n";
    for (const CommandOption& option : Options()) {
        std::string left = "  " + std::string(option.name);
        if (!option.valueName.empty())
            left += " " + std::string(option.valueName);
        left.resize(std::max<std::size_t>(left.size() + 2, 36), ' ');
        text += left + std::string(option.help) + "\n";
    }
    text += "\nFormats:\n"
            "  summary  the title line \"N files in FOLDER\", then the busiest bin of each view:\n"
            "           its time and its file count\n"
            "  csv      header view,bin,time,count and one row per bin of each view, in bin order;\n"
            "           time is the bin's display text, quoted\n"
            "  json     the same bins as one JSON document, with the folder and file counts\n"
            "  times    every file's last-write time in whole seconds since 1970 UTC, one per line,\n"
            "           in walk order\n\n"
            "Folders that cannot be read are counted and reported on standard error.\n"
            "Exit status: 0 on success, 1 when FOLDER cannot be read or output fails,\n"
            "2 for a bad command line.\n";
    return text;
}

std::string_view ViewName(int view) {
    return kViewNames[static_cast<std::size_t>(IsValidView(view) ? view : VIEW_DAY)];
}

std::optional<int> ViewFromName(std::string_view name) {
    for (std::size_t view = 0; view < kViewNames.size(); ++view)
        if (kViewNames[view] == name)
            return static_cast<int>(view);
    return std::nullopt;
}
