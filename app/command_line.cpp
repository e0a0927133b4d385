#include "command_line.h"

#include "busyscope_version.h"

namespace {

constexpr std::string_view kProgram = "busyscope";

std::string ProgramUsage() {
    return "Usage: busyscope [OPTION]... [FOLDER]...\n"
           "  or:  busyscope --git [--all] [--author PATTERN]... REPOSITORY\n"
           "  or:  busyscope [-0] --times-from LIST...\n"
           "Opens the Busyscope window, which shows when the files below a chosen folder were\n"
           "last written, folded into the day, week, month and year. Given FOLDERs (analysed\n"
           "together as one), a repository's history or time lists, the window analyses them at\n"
           "once; otherwise it opens with its about box and the folder is chosen in the window.\n"
           "busyscope-report gives the same analysis on the command line.\n\n"
           "Options:\n"
           "  --git                 show the commits of the repository instead of its files\n"
           "  --all                 with --git: every branch and tag, not only HEAD's history\n"
           "  --author PATTERN      with --git: keep commits whose author contains PATTERN\n"
           "                        (repeatable)\n"
           "  --times-from LIST     show the times of a list instead of a walk (repeatable)\n"
           "  -0, --null            the lists' records end with NUL bytes (else told from\n"
           "                        their first bytes)\n"
           "  -h, --help            show this help and exit\n"
           "  -V, --version         show the version and exit\n\n"
           "Qt's own options, such as -platform NAME or -display DISPLAY, are accepted as well.\n"
           "Exit status: 0 when the window is closed, 2 for a bad command line.\n";
}

} // namespace

std::optional<CommandLineAnswer> AnswerBeforeStart(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "-h")
            return CommandLineAnswer{"the help", ProgramUsage()};
        if (argument == "--version" || argument == "-V")
            return CommandLineAnswer{"the version", std::string(kProgram) + " " + kBusyscopeVersion + "\n"};
    }
    return std::nullopt;
}

namespace {

// Qt's own options (QGuiApplication, QApplication and the X11 platform), which Qt takes out of the
// command line itself; with one dash or two, a value apart or after '='.
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
constexpr std::string_view kQtValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "session", "display", "geometry", "style", "stylesheet", "name", "title",
    "visual", "ncols", "cmap", "qmljsdebugger"};

template <std::size_t N> bool Names(const std::string_view (&names)[N], std::string_view name) {
    for (const std::string_view known : names)
        if (known == name)
            return true;
    return false;
}

} // namespace

WindowArguments ParseWindowArguments(std::span<const std::string> arguments) {
    WindowArguments parsed;
    SourceRequest request;
    request.recordEnd = RecordEnd::Detect; // a list chosen by name, NUL-ended or not
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            request.folders.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string option = argument.substr(0, equals);
        const std::string_view name = std::string_view(option).substr(option.starts_with("--") ? 2 : 1);
        if (Names(kQtFlags, name))
            continue;
        if (Names(kQtValueOptions, name)) {
            if (equals == std::string::npos)
                ++i; // the value follows
            continue;
        }
        if (option == "-0" || option == "--null") {
            request.recordEnd = RecordEnd::Nul;
            continue;
        }
        if (option == "--git" || option == "--all") {
            if (equals != std::string::npos) {
                parsed.error = "option " + option + " takes no value";
                return parsed;
            }
            (option == "--git" ? request.git : request.allRefs) = true;
            continue;
        }
        if (option == "--author" || option == "--times-from") {
            std::string value;
            if (equals != std::string::npos)
                value = argument.substr(equals + 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            if (value.empty()) {
                parsed.error = option + (option == "--author" ? " needs a pattern" : " needs a file name");
                return parsed;
            }
            (option == "--author" ? request.authors : request.timeLists).push_back(value);
            continue;
        }
        parsed.error = "unknown option '" + option + "'";
        return parsed;
    }
    parsed.error = SourceRequestProblem(request);
    if (parsed.error.empty() && (!request.folders.empty() || !request.timeLists.empty() || request.git))
        parsed.source = SourceFromRequest(request);
    return parsed;
}
