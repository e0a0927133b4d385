#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What every name a shell pattern matches starts and ends with, unescaped. For a pattern without
// wildcards, literal is set and prefix holds the one name it matches. The pattern is well formed
// when every '[' is closed: a ']' right after "[" or "[!" stands for itself.
struct GlobLiterals {
    bool wellFormed = true;
    bool literal = true;
    std::string prefix;
    std::string suffix;
};
GlobLiterals LiteralsOf(std::string_view pattern);

// Whether name matches a shell pattern; a '*' matches a leading dot too.
bool GlobMatches(const std::string& pattern, const char* name);

// A leave-out pattern taken apart: a leading '/' or "./" anchors it, a trailing '/' keeps it to
// folders, and the '/'s inside part it into the names of the path it matches.
struct LeaveOutPattern {
    // One part for a name matched at any depth; for an anchored pattern the parts of the path
    // below the analysed folder, where a "**" part stands for any number of folders.
    std::vector<std::string> parts;
    bool anchored = false;
    bool foldersOnly = false;

    // Nothing when no part is left ("/", "//", "./").
    static std::optional<LeaveOutPattern> Read(std::string_view pattern);
    // Whether the anchored pattern matches the entry called name inside the folders given from
    // below the analysed folder down.
    bool MatchesPath(std::span<const char* const> folders, const char* name) const;
};
