#include "git_history.h"

#include "commit_record.h"
#include "stamp_store.h"
#include "walk_control.h"

#include <git2.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_set>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <sys/stat.h>

namespace {

// libgit2's global state, held while a history is read.
class CGitLibrary {
public:
    CGitLibrary() { git_libgit2_init(); }
    ~CGitLibrary() { git_libgit2_shutdown(); }
    CGitLibrary(const CGitLibrary&) = delete;
    CGitLibrary& operator=(const CGitLibrary&) = delete;
};

template <typename T, void (*Free)(T*)> struct GitFree {
    void operator()(T* object) const { Free(object); }
};
using RepositoryPtr = std::unique_ptr<git_repository, GitFree<git_repository, git_repository_free>>;
using OdbPtr = std::unique_ptr<git_odb, GitFree<git_odb, git_odb_free>>;
using OdbObjectPtr = std::unique_ptr<git_odb_object, GitFree<git_odb_object, git_odb_object_free>>;
using ReferencePtr = std::unique_ptr<git_reference, GitFree<git_reference, git_reference_free>>;
using ReferenceIteratorPtr =
    std::unique_ptr<git_reference_iterator, GitFree<git_reference_iterator, git_reference_iterator_free>>;
using ObjectPtr = std::unique_ptr<git_object, GitFree<git_object, git_object_free>>;

struct OidHash {
    std::size_t operator()(const git_oid& id) const {
        std::size_t hash = 0;
        std::memcpy(&hash, id.id, sizeof hash); // an object id is already a hash
        return hash;
    }
};
struct OidEqual {
    bool operator()(const git_oid& a, const git_oid& b) const { return git_oid_cmp(&a, &b) == 0; }
};

// libgit2's own words for the last failure.
std::string LastGitError() {
    const git_error* error = git_error_last();
    return error != nullptr && error->message != nullptr ? error->message : "unknown error";
}

// What the history needs of one commit object: its parents, its author, the author time on the
// author's clock counted as if it were UTC, and the first line of its message.
struct CommitHeader {
    std::vector<git_oid> parents;
    std::string_view authorName;
    std::string_view authorEmail;
    std::int64_t authorWallClock = 0;
    std::string_view subject;
};

// The header lines and the subject of a commit object; nothing when the headers are damaged.
std::optional<CommitHeader> ParseCommitHeader(std::string_view object) {
    CommitHeader header;
    bool haveAuthor = false;
    while (!object.empty()) {
        const std::size_t end = object.find('\n');
        const std::string_view line = object.substr(0, end);
        object.remove_prefix(end == std::string_view::npos ? object.size() : end + 1);
        if (line.empty()) {
            header.subject = object.substr(0, object.find('\n'));
            break;
        }
        if (line.starts_with("parent ")) {
            git_oid parent{};
            const std::string_view hex = line.substr(7);
            if (hex.size() != GIT_OID_HEXSZ || git_oid_fromstrn(&parent, hex.data(), hex.size()) != 0)
                return std::nullopt;
            header.parents.push_back(parent);
        } else if (line.starts_with("author ") && !haveAuthor) {
            // "author NAME <EMAIL> SECONDS +HHMM"
            const std::string_view signature = line.substr(7);
            const std::size_t close = signature.rfind('>');
            const std::size_t open = signature.rfind('<', close);
            if (close == std::string_view::npos || open == std::string_view::npos)
                return std::nullopt;
            header.authorName = signature.substr(0, open);
            while (header.authorName.ends_with(' '))
                header.authorName.remove_suffix(1);
            header.authorEmail = signature.substr(open + 1, close - open - 1);
            const std::string_view when = signature.substr(std::min(close + 2, signature.size()));
            const std::size_t space = when.find(' ');
            std::int64_t seconds = 0;
            int hhmm = 0;
            const std::string_view secondsText = when.substr(0, space);
            const std::string_view zone = space == std::string_view::npos ? "" : when.substr(space + 1);
            if (std::from_chars(secondsText.data(), secondsText.data() + secondsText.size(), seconds).ec !=
                    std::errc() ||
                zone.size() != 5 || (zone[0] != '+' && zone[0] != '-') ||
                std::from_chars(zone.data() + 1, zone.data() + 5, hhmm).ec != std::errc())
                return std::nullopt;
            const int offsetMinutes = (zone[0] == '-' ? -1 : 1) * (hhmm / 100 * 60 + hhmm % 100);
            if (__builtin_add_overflow(seconds, std::int64_t{offsetMinutes} * 60, &header.authorWallClock))
                return std::nullopt; // no clock shows that
            haveAuthor = true;
        }
    }
    if (!haveAuthor)
        return std::nullopt;
    return header;
}

// A commit's record name: its full id, author and subject.
std::string CommitName(const git_oid& id, const CommitHeader& commit) {
    const std::string author = std::string(commit.authorName) + " <" + std::string(commit.authorEmail) + ">";
    return CommitRecordName({git_oid_tostr_s(&id), author, commit.subject});
}

bool AuthorMatches(const CommitHeader& commit, const std::vector<std::string>& patterns) {
    return patterns.empty() || std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
               return ContainsIgnoringCase(commit.authorName, pattern) ||
                      ContainsIgnoringCase(commit.authorEmail, pattern);
           });
}

// Opens the repository at folder, refusing what has no full history to read; "" or why not.
std::string OpenRepository(const std::string& folder, RepositoryPtr& repository) {
    const std::string quoted = "'" + folder + "'";
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0)
        return "cannot read folder " + quoted + ": " + std::strerror(errno);
    if (!S_ISDIR(status.st_mode))
        return "cannot read folder " + quoted + ": " + std::strerror(ENOTDIR);
    git_repository* opened = nullptr;
    const int error = git_repository_open_ext(&opened, folder.c_str(), GIT_REPOSITORY_OPEN_NO_SEARCH, nullptr);
    repository.reset(opened);
    if (error == GIT_ENOTFOUND)
        return quoted + " is not a git repository (give the top folder of its working tree)";
    if (error != 0)
        return "cannot open the repository " + quoted + ": " + LastGitError();
    if (git_repository_is_bare(opened))
        return quoted + " is a bare repository; give a working tree";
    if (git_repository_is_shallow(opened) == 1)
        return quoted + " is a shallow clone, its history is incomplete (git fetch --unshallow fetches the rest)";
    return {};
}

// The commits the history starts from: HEAD's, or every branch's, tag's and HEAD's; "" or why not.
std::string FindStarts(git_repository* repository, bool allRefs, const std::string& quoted,
                       std::vector<git_oid>& starts) {
    const int unborn = git_repository_head_unborn(repository);
    if (unborn == 1 && !allRefs)
        return quoted + " has no commits yet";
    git_oid head{};
    if (unborn < 0 || (unborn == 0 && git_reference_name_to_id(&head, repository, "HEAD") != 0))
        return "cannot read HEAD of " + quoted + ": " + LastGitError();
    if (unborn == 0)
        starts.push_back(head);
    if (!allRefs)
        return {};
    for (const char* glob : {"refs/heads/*", "refs/tags/*", "refs/remotes/*"}) {
        git_reference_iterator* opened = nullptr;
        if (git_reference_iterator_glob_new(&opened, repository, glob) != 0)
            return "cannot read the references of " + quoted + ": " + LastGitError();
        const ReferenceIteratorPtr references(opened);
        git_reference* next = nullptr;
        int step = 0;
        while ((step = git_reference_next(&next, references.get())) == 0) {
            const ReferencePtr reference(next);
            git_object* peeled = nullptr;
            const int error = git_reference_peel(&peeled, reference.get(), GIT_OBJECT_COMMIT);
            const ObjectPtr commit(peeled);
            if (error == 0)
                starts.push_back(*git_object_id(commit.get()));
            else if (error != GIT_EPEEL && error != GIT_EINVALIDSPEC) // a tag of a tree or a blob has no commits
                return "cannot read " + std::string(git_reference_name(reference.get())) + " of " + quoted + ": " +
                       LastGitError();
        }
        if (step != GIT_ITEROVER)
            return "cannot read the references of " + quoted + ": " + LastGitError();
    }
    return {};
}

} // namespace

bool ContainsIgnoringCase(std::string_view text, std::string_view pattern) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::search(text.begin(), text.end(), pattern.begin(), pattern.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

std::string ReadGitHistory(const std::string& folder, const GitHistoryOptions& options, IStampSink& sink,
                           WalkControl* control) {
    const CGitLibrary library;
    const std::string quoted = "'" + folder + "'";
    RepositoryPtr repository;
    if (std::string error = OpenRepository(folder, repository); !error.empty())
        return error;
    std::vector<git_oid> pending;
    if (std::string error = FindStarts(repository.get(), options.allRefs, quoted, pending); !error.empty())
        return error;
    git_odb* openedOdb = nullptr;
    if (git_repository_odb(&openedOdb, repository.get()) != 0)
        return "cannot read the objects of " + quoted + ": " + LastGitError();
    const OdbPtr odb(openedOdb);

    // Each commit is read once, straight from the object database: its parents lead on, its
    // author line gives the record, named by the commit in the repository's one folder.
    const IStampSink::FolderIndex repositoryFolder = sink.AddFolder(IStampSink::kNoFolder, "");
    std::unordered_set<git_oid, OidHash, OidEqual> seen(pending.begin(), pending.end());
    pending.assign(seen.begin(), seen.end());
    for (std::int64_t commits = 0; !pending.empty(); ++commits) {
        if (PublishAndLookForStop(control, commits))
            return {};
        const git_oid id = pending.back();
        pending.pop_back();
        git_odb_object* read = nullptr;
        const auto problem = [&](const std::string& what) {
            return "cannot read the history of " + quoted + ": commit " + git_oid_tostr_s(&id) + " " + what;
        };
        if (git_odb_read(&read, odb.get(), &id) != 0)
            return problem("cannot be read: " + LastGitError());
        const OdbObjectPtr object(read);
        if (git_odb_object_type(object.get()) != GIT_OBJECT_COMMIT)
            return problem("is not a commit");
        const std::optional<CommitHeader> commit = ParseCommitHeader(std::string_view(
            static_cast<const char*>(git_odb_object_data(object.get())), git_odb_object_size(object.get())));
        if (!commit)
            return problem("is damaged");
        for (const git_oid& parent : commit->parents)
            if (seen.insert(parent).second)
                pending.push_back(parent);
        if (AuthorMatches(*commit, options.authors))
            sink.AddFile(repositoryFolder, CommitName(id, *commit), commit->authorWallClock);
    }
    return {};
}

std::string LoadGitHistory(const std::string& folder, const GitHistoryOptions& options, CStampStore& store,
                           WalkControl* control) {
    std::string error;
    try {
        store.Begin(folder, RecordKind::Commits, TimeBasis::WallClock);
        error = ReadGitHistory(folder, options, store, control);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the history of '" + folder + "'";
    }
    if (!error.empty())
        store.Reset();
    return error;
}
