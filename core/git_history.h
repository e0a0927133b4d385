#pragma once

#include "stamp_sink.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CStampStore;
struct WalkControl;

// Which commits of a repository count.
struct GitHistoryOptions {
    bool allRefs = false;             // every branch (local and remote-tracking) and tag, and HEAD
    std::vector<std::string> authors; // keep commits whose author "NAME <E-MAIL>" contains one of
                                      // these, ignoring case; every commit when empty
    bool operator==(const GitHistoryOptions&) const = default;
};

// How a reading of a history ended: error is "" when the whole history was read, else one line
// saying why not; notice is "" or one line the user should see beside a good result (a shallow
// clone's history cut short, commits skipped because their author line cannot be read).
struct GitHistoryLoad {
    std::string error;
    std::string notice;
};

// Adds one record per commit of the repository at folder (a working tree, a bare repository, a
// linked worktree or a submodule's folder), at its author time on the author's own clock: the
// seconds of the commit's wall-clock time counted as if it were UTC (a commit written at 10:00 in
// Tokyo is at 10:00). Commits are those git log lists there, grafts and replacements honoured.
// The records added before a failure stay in the sink. With a control it publishes the commits
// read so far and ends early, with no error and no notice, once a stop is requested.
GitHistoryLoad ReadGitHistory(const std::string& folder, const GitHistoryOptions& options, IStampSink& sink,
                              WalkControl* control = nullptr);

// Empties the store and fills it with the commits of the repository at folder, as wall-clock
// times, titled as commits of GitHistoryName. On failure the store is left empty.
GitHistoryLoad LoadGitHistory(const std::string& folder, const GitHistoryOptions& options, CStampStore& store,
                              WalkControl* control = nullptr);

// How a history is named in titles: the folder, and the authors kept when some are
// ("REPO by alice, bob").
std::string GitHistoryName(const std::string& folder, const GitHistoryOptions& options);

// One author of a history and how many commits name it.
struct GitAuthor {
    std::string name;
    std::string email;
    std::int64_t commits = 0;
    // "NAME <E-MAIL>", as git shows an author; as a pattern it keeps this author's commits.
    std::string Ident() const { return name + " <" + email + ">"; }
};
struct GitAuthorsList {
    std::string error;              // "" or why the history cannot be read
    std::vector<GitAuthor> authors; // most commits first, then by name and e-mail
};

// The authors of the history of the repository at folder (HEAD's, or every branch's and tag's).
GitAuthorsList ListGitAuthors(const std::string& folder, bool allRefs);

// Whether the text holds the pattern, ignoring the case of ASCII letters.
bool ContainsIgnoringCase(std::string_view text, std::string_view pattern);
