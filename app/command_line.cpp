#include "command_line.h"

#include "busyscope_version.h"

namespace {

constexpr std::string_view kProgram = "busyscope";

std::string ProgramUsage() {
    return "Usage: busyscope [OPTION]... [FOLDER]\n"
           "Opens the Busyscope window, which shows when the files below a chosen folder were\n"
           "last written, folded into the day, week, month and year. Given a FOLDER, the window\n"
           "analyses it at once; otherwise it opens with its about box and the folder is chosen\n"
           "in the window. busyscope-report gives the same analysis on the command line.\n\n"
           "Options:\n"
           "  -h, --help       show this help and exit\n"
           "  -V, --version    show the version and exit\n\n"
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

WindowArguments ParseWindowArguments(std::span<const std::string> arguments) {
    WindowArguments parsed;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            parsed.error = "unknown option '" + argument.substr(0, argument.find('=')) + "'";
            return parsed;
        }
        if (parsed.folder) {
            parsed.error = "more than one FOLDER given: '" + argument + "'";
            return parsed;
        }
        parsed.folder = argument;
    }
    return parsed;
}
