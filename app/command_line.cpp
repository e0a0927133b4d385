#include "command_line.h"

#include "busyscope_version.h"

namespace {

constexpr std::string_view kProgram = "busyscope";

std::string ProgramUsage() {
    return "Usage: busyscope [OPTION]...\n"
           "Opens the Busyscope window, which shows when the files below a chosen folder were\n"
           "last written, folded into the day, week, month and year. The folder is chosen in\n"
           "the window; busyscope-report gives the same analysis on the command line.\n\n"
           "Options:\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n\n"
           "Qt's own options, such as -platform NAME or -display DISPLAY, are accepted as well.\n";
}

} // namespace

std::optional<CommandLineAnswer> AnswerBeforeStart(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help")
            return CommandLineAnswer{"the help", ProgramUsage()};
        if (argument == "--version")
            return CommandLineAnswer{"the version", std::string(kProgram) + " " + kBusyscopeVersion + "\n"};
    }
    return std::nullopt;
}
