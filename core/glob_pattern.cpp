#include "glob_pattern.h"

#include <fnmatch.h>

namespace {

// The end of the bracket expression that starts at pattern[open], or npos when it is not closed.
std::size_t BracketEnd(std::string_view pattern, std::size_t open) {
    std::size_t i = open + 1;
    if (i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^'))
        ++i;
    if (i < pattern.size() && pattern[i] == ']')
        ++i;
    for (; i < pattern.size(); ++i) {
        if (pattern[i] == ']')
            return i;
        if (pattern[i] == '[' && i + 1 < pattern.size() && pattern[i + 1] == ':') {
            const std::size_t close = pattern.find(":]", i + 2);
            if (close == std::string_view::npos)
                return std::string_view::npos;
            i = close + 1;
        }
    }
    return std::string_view::npos;
}

} // namespace

GlobLiterals LiteralsOf(std::string_view pattern) {
    GlobLiterals literals;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '[')
            i = BracketEnd(pattern, i);
        if (i == std::string_view::npos) {
            literals.wellFormed = false;
            break;
        }
        if (c == '*' || c == '?' || c == '[') {
            literals.literal = false;
            literals.suffix.clear();
            continue;
        }
        if (c == '\\' && i + 1 < pattern.size())
            c = pattern[++i];
        (literals.literal ? literals.prefix : literals.suffix) += c;
    }
    return literals;
}

bool GlobMatches(const std::string& pattern, const char* name) {
    return ::fnmatch(pattern.c_str(), name, 0) == 0;
}

std::optional<LeaveOutPattern> LeaveOutPattern::Read(std::string_view pattern) {
    LeaveOutPattern read;
    for (;;) {
        if (pattern.starts_with("./"))
            pattern.remove_prefix(2);
        else if (pattern.starts_with('/'))
            pattern.remove_prefix(1);
        else
            break;
        read.anchored = true;
    }
    while (pattern.ends_with('/') && !pattern.ends_with("\\/")) {
        pattern.remove_suffix(1);
        read.foldersOnly = true;
    }
    for (std::size_t start = 0; start <= pattern.size();) {
        const std::size_t slash = std::min(pattern.find('/', start), pattern.size());
        if (slash > start)
            read.parts.emplace_back(pattern.substr(start, slash - start));
        start = slash + 1;
    }
    if (read.parts.empty())
        return std::nullopt;
    if (read.parts.size() == 2 && read.parts.front() == "**") // "**/name" is a name at any depth
        read.parts.erase(read.parts.begin());
    else if (read.parts.size() > 1)
        read.anchored = true;
    return read;
}

namespace {

// Whether parts match the path's components from first on; the path is folders and then name.
bool PartsMatch(std::span<const std::string> parts, std::span<const char* const> folders, const char* name,
                std::size_t first) {
    const std::size_t count = folders.size() + 1;
    if (parts.empty())
        return first == count;
    if (parts.front() == "**") {
        // A last "**" matches what lies inside a folder, not the folder itself.
        const std::size_t least = parts.size() == 1 ? first + 1 : first;
        for (std::size_t next = least; next <= count; ++next)
            if (PartsMatch(parts.subspan(1), folders, name, next))
                return true;
        return false;
    }
    if (first == count || !GlobMatches(parts.front(), first < folders.size() ? folders[first] : name))
        return false;
    return PartsMatch(parts.subspan(1), folders, name, first + 1);
}

} // namespace

bool LeaveOutPattern::MatchesPath(std::span<const char* const> folders, const char* name) const {
    return PartsMatch(parts, folders, name, 0);
}
