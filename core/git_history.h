#pragma once

#include "stamp_sink.h"

#include <string>
#include <string_view>
#include <vector>

class CStampStore;
struct WalkControl;

// Which commits of a repository count.
struct GitHistoryOptions {
    bool allRefs = false;             // every branch (local and remote-tracking) and tag, and HEAD
    std::vector<std::string> authors; // keep commits whose author name or e-mail contains one of
                                      // these, ignoring case; every commit when empty
    bool operator==(const GitHistoryOptions&) const = default;
};

// Adds one record per commit of the repository whose working tree is at folder, at its author
// time on the author's own clock: the seconds of the commit's wall-clock time counted as if it
// were UTC (a commit written at 10:00 in Tokyo is at 10:00). Returns "" when the whole history
// was read, else one line saying why not (not a repository, bare, shallow, no commits yet, an
// object that cannot be read); the records added before a failure stay in the sink. With a
// control it publishes the commits read so far and ends early, returning "", once a stop is
// requested.
std::string ReadGitHistory(const std::string& folder, const GitHistoryOptions& options, IStampSink& sink,
                           WalkControl* control = nullptr);

// Empties the store and fills it with the commits of the repository at folder, as wall-clock
// times, titled as commits. On failure the store is left empty and the line is returned.
std::string LoadGitHistory(const std::string& folder, const GitHistoryOptions& options, CStampStore& store,
                           WalkControl* control = nullptr);

// Whether the text holds the pattern, ignoring the case of ASCII letters.
bool ContainsIgnoringCase(std::string_view text, std::string_view pattern);
