#pragma once

#include "analysis_source.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What busyscope prints instead of starting, and what that text is called in a message.
struct CommandLineAnswer {
    std::string_view what; // "the help", "the version"
    std::string text;
};

// The answer to --help (-h) or --version (-V), the first of them given, or nothing when the window
// is to open. Every other argument is left to Qt first, which takes its own (-platform, -display, ...).
std::optional<CommandLineAnswer> AnswerBeforeStart(std::span<const std::string> arguments);

// The program's own arguments, Qt's options and their values skipped: what to analyse at once,
// given as the report takes it (FOLDERs, --git [--all] [--author P]... REPO, --times-from FILE).
// Read before Qt starts, so that a bad command line needs no display.
struct WindowArguments {
    std::optional<AnalysisSource> source; // nothing: open with the about box
    std::string error; // one line naming the problem; empty when the command line is good
};
WindowArguments ParseWindowArguments(std::span<const std::string> arguments);
