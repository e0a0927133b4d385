#pragma once

#include "filtered_directory_source.h"
#include "git_history.h"
#include "time_list.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class CStampStore;
class IDirectorySource;
struct WalkControl;

// What one analysis reads. The window and the report each build one from their own inputs
// (a chosen folder, a command line, a remembered entry), and one function loads any of them.
struct FolderSource {
    std::vector<std::string> folders; // analysed together as one, in this order
    EntryFilter rules;                // what the walk leaves out: the rules in force for folders
    bool operator==(const FolderSource&) const = default;
};
struct GitSource {
    std::string repository;
    GitHistoryOptions options;
    bool operator==(const GitSource&) const = default;
};
struct TimeListSource {
    std::vector<std::string> lists; // read one after another; "-" is standard input
    RecordEnd recordEnd = RecordEnd::Newline;
    bool operator==(const TimeListSource&) const = default;
};
using AnalysisSource = std::variant<FolderSource, GitSource, TimeListSource>;

// The source a command line names, as its options gave it: the FOLDERs (none when none were
// given), --times-from, --git, --all and --author.
struct SourceRequest {
    std::vector<std::string> folders;
    std::vector<std::string> timeLists;
    RecordEnd recordEnd = RecordEnd::Newline;
    bool git = false;
    bool allRefs = false;
    std::vector<std::string> authors;
};
// What is wrong with the request, in one line ("" when nothing is): options that need --git, a
// list with a FOLDER or a history, several repositories.
std::string SourceRequestProblem(const SourceRequest& request);
// The source a good request names; the current folder when it names none.
AnalysisSource SourceFromRequest(const SourceRequest& request, const EntryFilter& rules = {});

// How loading a source ended.
struct SourceLoad {
    enum class Failure {
        None,       // read to its end, or stopped (the store is then empty)
        Unreadable, // the source could not be read; the store is empty
        BadInput,   // a list holds a line that is not a time; the store is empty
    };
    Failure failure = Failure::None;
    std::string message;   // one line naming the problem, when there is one
    LeftOutCounts leftOut; // what a folder walk's rules left out
    bool stopped = false;  // a stop was requested before the end
    // Lines to tell the user beside the result (a folder given twice, analysed once; a shallow
    // clone cut short, commits skipped).
    std::vector<std::string> notices;
    std::vector<std::string> foldersWalked; // the folders a folder source walked, in order
};

// Empties the store and fills it from the source. Folders are walked with jobs threads through
// directories (the real file system, or a test's) less what the rules leave out, a folder inside
// another one given (or the same) once, with a notice; their problems
// (an unreadable folder, memory running out) are the store's, as a walk records them. With a
// control it publishes progress and ends early, with an empty store, once a stop is requested.
SourceLoad LoadSource(const AnalysisSource& source, CStampStore& store, IDirectorySource& directories,
                      int jobs, WalkControl* control = nullptr);

// How lists and menus name a source: the folder itself ("src and 2 more folders" for several),
// "Git history of REPO" (with " (all branches and tags)" and the authors when chosen), "Time
// list FILE" ("Time lists A and 1 more" for several).
std::string SourceLabel(const AnalysisSource& source);

// The word for what the source's records are, progress counts them in: "files", "commits", "times".
const char* SourceRecordNoun(const AnalysisSource& source);
