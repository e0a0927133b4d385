#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What busyscope prints instead of starting, and what that text is called in a message.
struct CommandLineAnswer {
    std::string_view what; // "the help", "the version"
    std::string text;
};

// The answer to --help or --version (the first of them given), or nothing when the window is to
// open. Every other argument is left to Qt, which takes its own (-platform, -display, ...).
std::optional<CommandLineAnswer> AnswerBeforeStart(std::span<const std::string> arguments);
