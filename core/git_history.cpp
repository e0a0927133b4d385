#include "git_history.h"

#include "civil_time.h"
#include "commit_record.h"
#include "stamp_store.h"
#include "walk_control.h"

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <git2.h>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <zlib.h>

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
using OidSet = std::unordered_set<git_oid, OidHash, OidEqual>;
template <typename T> using OidMap = std::unordered_map<git_oid, T, OidHash, OidEqual>;

// libgit2's own words for the last failure.
std::string LastGitError() {
    const git_error* error = git_error_last();
    return error != nullptr && error->message != nullptr ? error->message : "unknown error";
}

std::string ShortId(const git_oid& id) {
    char hex[13];
    git_oid_tostr(hex, sizeof hex, &id);
    return hex;
}

bool ReadOid(std::string_view hex, git_oid& id) {
    return hex.size() == GIT_OID_HEXSZ && git_oid_fromstrn(&id, hex.data(), hex.size()) == 0;
}

// One object as stored: its type and its content.
struct RawObject {
    git_object_t type = GIT_OBJECT_INVALID;
    std::string data;
};

// A loose object file's content: zlib-compressed "TYPE SIZE\0" and SIZE bytes. Inflated with the
// output bounded by the size the header declares, so a cut or damaged file ends in a reason,
// never in an endless inflate; "" when the object is whole.
std::string InflateLooseObject(std::string_view compressed, RawObject& object) {
    // Deflate never shrinks data by more than 1032 to 1: a header claiming more is damaged.
    constexpr std::size_t kMostInflation = 1032;
    if (compressed.size() > UINT32_MAX)
        return "its object file is too large";
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return "it cannot be inflated";
    const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, inflateEnd);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    char header[32];
    stream.next_out = reinterpret_cast<Bytef*>(header);
    stream.avail_out = sizeof header;
    int status = inflate(&stream, Z_NO_FLUSH);
    const std::string_view produced(header, sizeof header - stream.avail_out);
    const std::size_t space = produced.find(' ');
    const std::size_t nul = produced.find('\0');
    std::size_t size = 0;
    constexpr const char* kCutShort = "its object is cut short or damaged";
    if ((status != Z_OK && status != Z_STREAM_END) || (nul == std::string_view::npos && stream.avail_out > 0))
        return kCutShort; // the input ended before the header did
    if (space == std::string_view::npos || nul == std::string_view::npos || space > nul ||
        std::from_chars(produced.data() + space + 1, produced.data() + nul, size).ptr !=
            produced.data() + nul ||
        size / kMostInflation > compressed.size())
        return "its object header is damaged";
    const std::string_view type = produced.substr(0, space);
    object.type = type == "commit" ? GIT_OBJECT_COMMIT
                  : type == "tag"  ? GIT_OBJECT_TAG
                  : type == "tree" ? GIT_OBJECT_TREE
                  : type == "blob" ? GIT_OBJECT_BLOB
                                   : GIT_OBJECT_INVALID;
    if (object.type == GIT_OBJECT_INVALID)
        return "its object type is unknown";
    const std::string_view already = produced.substr(nul + 1);
    if (already.size() > size)
        return "its object is longer than its header says";
    // One byte more than declared, to see an object that goes on past its size.
    object.data.assign(size + 1, '\0');
    std::memcpy(object.data.data(), already.data(), already.size());
    stream.next_out = reinterpret_cast<Bytef*>(object.data.data() + already.size());
    stream.avail_out = static_cast<uInt>(size + 1 - already.size());
    while (status == Z_OK)
        status = inflate(&stream, Z_NO_FLUSH); // each call makes progress or says why not
    if (status != Z_STREAM_END)
        return kCutShort;
    if (stream.avail_out != 1)
        return stream.avail_out == 0 ? "its object is longer than its header says"
                                     : "its object is shorter than its header says";
    object.data.resize(size);
    return {};
}

// Why an object file cannot be read whole, or "".
std::string ReadWholeFile(int descriptor, std::string& content) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return std::strerror(errno);
    content.resize(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)));
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t got = ::read(descriptor, content.data() + done, content.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::strerror(errno);
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    content.resize(done);
    return {};
}

// What the history needs of one commit object: its parents, its author, the author time on the
// author's clock counted as if it were UTC, and the first line of its message.
struct CommitHeader {
    std::vector<git_oid> parents;
    std::string_view authorName;
    std::string_view authorEmail;
    std::int64_t authorWallClock = 0;
    const char* unreadableAuthor = nullptr; // why the author or its time cannot be read
    std::string_view subject;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads "NAME <E-MAIL> SECONDS +HHMM" as git log does: the e-mail between the first '<' and the
// '>' after it, the time after the last '>' past any blanks, the zone any signed number after it
// (+01 is one minute east), anything after the zone ignored; seconds beyond a 64-bit signed count
// are the start of 1970 in UTC. Fills the header's author, or says why it cannot be read.
void ReadAuthorLine(std::string_view ident, CommitHeader& header) {
    const std::size_t open = ident.find('<');
    const std::size_t close = open == std::string_view::npos ? open : ident.find('>', open + 1);
    if (close == std::string_view::npos) {
        header.unreadableAuthor = "with no author e-mail";
        return;
    }
    header.authorName = ident.substr(0, open);
    while (!header.authorName.empty() && IsBlank(header.authorName.back()))
        header.authorName.remove_suffix(1);
    header.authorEmail = ident.substr(open + 1, close - open - 1);
    std::string_view rest = ident.substr(ident.rfind('>') + 1);
    const auto skipBlanks = [&] {
        while (!rest.empty() && IsBlank(rest.front()))
            rest.remove_prefix(1);
    };
    const auto digits = [&](std::string_view text) {
        return std::min(text.find_first_not_of("0123456789"), text.size());
    };
    skipBlanks();
    const std::string_view seconds = rest.substr(0, digits(rest));
    rest.remove_prefix(seconds.size());
    skipBlanks();
    const bool signedZone = !rest.empty() && (rest.front() == '+' || rest.front() == '-');
    const std::string_view zone = signedZone ? rest.substr(1, digits(rest.substr(1))) : std::string_view();
    if (seconds.empty() || zone.empty()) {
        header.unreadableAuthor = "with no author time";
        return;
    }
    std::int64_t time = 0;
    std::int64_t hhmm = 0;
    if (std::from_chars(seconds.data(), seconds.data() + seconds.size(), time).ec != std::errc()) {
        header.authorWallClock = 0; // git log shows such a time as 1970-01-01 00:00:00 +0000
        return;
    }
    std::int64_t offsetSeconds = 0;
    if (std::from_chars(zone.data(), zone.data() + zone.size(), hhmm).ec != std::errc() ||
        __builtin_mul_overflow(hhmm / 100 * 60 + hhmm % 100, std::int64_t{60}, &offsetSeconds) ||
        __builtin_add_overflow(time, rest.front() == '-' ? -offsetSeconds : offsetSeconds,
                               &header.authorWallClock))
        header.unreadableAuthor = "with an author time out of range"; // no clock shows that
}

// The header lines and the subject of a commit object; nothing when a parent cannot be read.
// Of several author lines the last counts, as in git log.
std::optional<CommitHeader> ParseCommitHeader(std::string_view object) {
    CommitHeader header;
    std::optional<std::string_view> author;
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
            if (!ReadOid(line.substr(7), parent))
                return std::nullopt;
            header.parents.push_back(parent);
        } else if (line.starts_with("author ")) {
            author = line.substr(7);
        }
    }
    if (author)
        ReadAuthorLine(*author, header);
    else
        header.unreadableAuthor = "with no author line";
    return header;
}

// A commit's record name: its full id, author and subject.
std::string CommitName(const git_oid& id, const CommitHeader& commit) {
    const std::string author = std::string(commit.authorName) + " <" + std::string(commit.authorEmail) + ">";
    return CommitRecordName({git_oid_tostr_s(&id), author, commit.subject});
}

// Whether a commit's author "NAME <E-MAIL>" holds one of the patterns; ident is room to spell it.
bool AuthorMatches(const CommitHeader& commit, const std::vector<std::string>& patterns, std::string& ident) {
    if (patterns.empty())
        return true;
    ident.assign(commit.authorName).append(" <").append(commit.authorEmail).append(">");
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return ContainsIgnoringCase(ident, pattern); });
}

// "2024-07-01" for a wall-clock time.
std::string DateText(std::int64_t wallClock) {
    const std::optional<LocalBreakdown> date = BreakDownUtc(wallClock);
    if (!date)
        return "a far date";
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d", static_cast<long long>(date->year), date->month,
                  date->monthDay);
    return text;
}

// The commits of one repository as git log reads them: from its object database, with the
// parents that info/grafts and a shallow clone's boundary give, objects replaced as
// refs/replace/ says, and loose objects checked whole before they are believed.
class CHistoryReader {
public:
    using Visit = std::function<void(const git_oid& id, const CommitHeader& commit)>;

    // Opens the repository at folder; "" or why not.
    std::string Open(const std::string& folder);
    // The commits the history starts from: HEAD's, or every branch's, tag's and HEAD's; "" or why not.
    std::string FindStarts(bool allRefs, std::vector<git_oid>& starts);
    // Reads each commit reachable from the starts once and hands the readable ones to visit; "" or
    // why the history cannot be read on. Ends early with "" once the control asks to stop.
    std::string Walk(std::vector<git_oid> pending, WalkControl* control, const Visit& visit);
    // What the walk found that the user should know beside its result: "" or one line.
    std::string Notice() const;

private:
    std::string ReadObject(const git_oid& id, RawObject& object);
    std::string ReadGraftsAndShallow();
    std::string ReadReplacements();
    // Hands the name of each reference matching glob to read; "" or the first problem, read's own
    // or why the references cannot be listed.
    std::string ForEachReference(const char* glob,
                                 const std::function<std::string(const std::string&)>& read);
    // Follows id through any tags to what they name; isCommit says whether that is a commit (a tag
    // of a tree or a blob is not). "" or why not.
    std::string PeelToCommit(git_oid& id, const std::string& what, bool& isCommit);

    const CGitLibrary m_library; // first made, last gone
    std::string m_quoted;
    RepositoryPtr m_repository;
    OdbPtr m_odb;
    std::string m_commonFolder;
    OidMap<std::vector<git_oid>> m_grafts; // the parents info/grafts gives these commits
    OidSet m_shallow;                      // a shallow clone's commits whose parents it lacks
    OidMap<git_oid> m_replacements;
    std::bitset<256> m_looseFolders; // which objects/XX folders exist: a packed history opens no file
    // Found on the walk.
    std::int64_t m_cutCommits = 0;
    std::optional<std::pair<std::int64_t, git_oid>> m_oldestCut; // wall clock and id
    std::map<std::string, std::int64_t> m_skipped;               // by reason
};

std::string CHistoryReader::Open(const std::string& folder) {
    m_quoted = "'" + folder + "'";
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0)
        return "cannot read folder " + m_quoted + ": " + std::strerror(errno);
    if (!S_ISDIR(status.st_mode))
        return "cannot read folder " + m_quoted + ": " + std::strerror(ENOTDIR);
    git_repository* opened = nullptr;
    const int error =
        git_repository_open_ext(&opened, folder.c_str(), GIT_REPOSITORY_OPEN_NO_SEARCH, nullptr);
    m_repository.reset(opened);
    if (error == GIT_ENOTFOUND)
        return m_quoted + " is not a git repository (give the top folder of its working tree)";
    if (error != 0)
        return "cannot open the repository " + m_quoted + ": " + LastGitError();
    git_odb* odb = nullptr;
    if (git_repository_odb(&odb, opened) != 0)
        return "cannot read the objects of " + m_quoted + ": " + LastGitError();
    m_odb.reset(odb);
    m_commonFolder = git_repository_commondir(opened);
    if (const std::unique_ptr<DIR, int (*)(DIR*)> objects(::opendir((m_commonFolder + "objects").c_str()),
                                                          ::closedir);
        objects != nullptr)
        while (const dirent* entry = ::readdir(objects.get())) {
            unsigned fanout = 0;
            if (std::strlen(entry->d_name) == 2 &&
                std::from_chars(entry->d_name, entry->d_name + 2, fanout, 16).ptr == entry->d_name + 2)
                m_looseFolders.set(fanout);
        }
    if (std::string problem = ReadGraftsAndShallow(); !problem.empty())
        return problem;
    return ReadReplacements();
}

std::string CHistoryReader::ReadGraftsAndShallow() {
    // Each line an id and, for a graft, the parents it is given; a shallow line cuts the parents off.
    for (const bool shallow : {false, true}) {
        const std::string path = m_commonFolder + (shallow ? "shallow" : "info/grafts");
        std::ifstream file(path);
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            if (line.empty() || line.front() == '#')
                continue;
            std::vector<git_oid> ids;
            for (std::size_t at = 0; at <= line.size(); at += GIT_OID_HEXSZ + 1) {
                git_oid id{};
                if (!ReadOid(std::string_view(line).substr(at, GIT_OID_HEXSZ), id) ||
                    (at + GIT_OID_HEXSZ < line.size() && line[at + GIT_OID_HEXSZ] != ' '))
                    return "cannot read the history of " + m_quoted + ": " + path + ":" +
                           std::to_string(number) + " is damaged";
                ids.push_back(id);
            }
            if (shallow)
                m_shallow.insert(ids.front());
            else
                m_grafts[ids.front()].assign(ids.begin() + 1, ids.end());
        }
    }
    return {};
}

std::string CHistoryReader::ReadReplacements() {
    if (const char* off = std::getenv("GIT_NO_REPLACE_OBJECTS"); off != nullptr)
        return {};
    return ForEachReference("refs/replace/*", [this](const std::string& name) -> std::string {
        git_oid replaced{};
        git_oid replacement{};
        if (!ReadOid(std::string_view(name).substr(std::strlen("refs/replace/")), replaced) ||
            git_reference_name_to_id(&replacement, m_repository.get(), name.c_str()) != 0)
            return "cannot read " + name + " of " + m_quoted + ": " + LastGitError();
        m_replacements[replaced] = replacement;
        return {};
    });
}

std::string CHistoryReader::ForEachReference(const char* glob,
                                             const std::function<std::string(const std::string&)>& read) {
    git_reference_iterator* opened = nullptr;
    if (git_reference_iterator_glob_new(&opened, m_repository.get(), glob) != 0)
        return "cannot read the references of " + m_quoted + ": " + LastGitError();
    const ReferenceIteratorPtr references(opened);
    git_reference* next = nullptr;
    int step = 0;
    while ((step = git_reference_next(&next, references.get())) == 0) {
        const ReferencePtr reference(next);
        if (std::string problem = read(git_reference_name(reference.get())); !problem.empty())
            return problem;
    }
    if (step != GIT_ITEROVER)
        return "cannot read the references of " + m_quoted + ": " + LastGitError();
    return {};
}

std::string CHistoryReader::ReadObject(const git_oid& requested, RawObject& object) {
    const auto replaced = m_replacements.find(requested);
    const git_oid& id = replaced == m_replacements.end() ? requested : replaced->second;
    if (m_looseFolders.test(id.id[0])) {
        const std::string hex = git_oid_tostr_s(&id);
        const std::string loose = m_commonFolder + "objects/" + hex.substr(0, 2) + "/" + hex.substr(2);
        if (const int descriptor = ::open(loose.c_str(), O_RDONLY | O_CLOEXEC); descriptor >= 0) {
            std::string compressed;
            const std::string problem = ReadWholeFile(descriptor, compressed);
            ::close(descriptor);
            if (!problem.empty())
                return "cannot be read: " + problem;
            if (const std::string damage = InflateLooseObject(compressed, object); !damage.empty())
                return "is damaged: " + damage;
            return {};
        }
    }
    // Packed, or in another object store: libgit2 reads it.
    git_odb_object* read = nullptr;
    if (git_odb_read(&read, m_odb.get(), &id) != 0)
        return "cannot be read: " + LastGitError();
    const OdbObjectPtr packed(read);
    object.type = git_odb_object_type(packed.get());
    object.data.assign(static_cast<const char*>(git_odb_object_data(packed.get())),
                       git_odb_object_size(packed.get()));
    return {};
}

std::string CHistoryReader::PeelToCommit(git_oid& id, const std::string& what, bool& isCommit) {
    RawObject object;
    for (int depth = 0; depth < 100; ++depth) {
        if (std::string problem = ReadObject(id, object); !problem.empty())
            return "cannot read " + what + " of " + m_quoted + ": object " + git_oid_tostr_s(&id) + " " +
                   problem;
        isCommit = object.type == GIT_OBJECT_COMMIT;
        if (object.type != GIT_OBJECT_TAG)
            return {};
        // A tag names its object on its first line: "object HEX".
        if (!object.data.starts_with("object ") ||
            !ReadOid(std::string_view(object.data).substr(7, GIT_OID_HEXSZ), id))
            return "cannot read " + what + " of " + m_quoted + ": its tag is damaged";
    }
    return "cannot read " + what + " of " + m_quoted + ": tags of tags without end";
}

std::string CHistoryReader::FindStarts(bool allRefs, std::vector<git_oid>& starts) {
    git_repository* repository = m_repository.get();
    const int unborn = git_repository_head_unborn(repository);
    if (unborn == 1 && !allRefs)
        return m_quoted + " has no commits yet";
    git_oid head{};
    if (unborn < 0 || (unborn == 0 && git_reference_name_to_id(&head, repository, "HEAD") != 0))
        return "cannot read HEAD of " + m_quoted + ": " + LastGitError();
    bool isCommit = false;
    if (unborn == 0) {
        if (std::string problem = PeelToCommit(head, "HEAD", isCommit); !problem.empty())
            return problem;
        if (isCommit)
            starts.push_back(head);
    }
    if (!allRefs)
        return {};
    for (const char* glob : {"refs/heads/*", "refs/tags/*", "refs/remotes/*"}) {
        const std::string problem = ForEachReference(glob, [&](const std::string& name) -> std::string {
            git_oid target{};
            const int error = git_reference_name_to_id(&target, repository, name.c_str());
            if (error == GIT_ENOTFOUND)
                return {}; // a symbolic reference to nothing, as origin/HEAD can be
            if (error != 0)
                return "cannot read " + name + " of " + m_quoted + ": " + LastGitError();
            if (std::string peeled = PeelToCommit(target, name, isCommit); !peeled.empty())
                return peeled;
            if (isCommit) // a tag of a tree or a blob has no commits
                starts.push_back(target);
            return {};
        });
        if (!problem.empty())
            return problem;
    }
    return {};
}

std::string CHistoryReader::Walk(std::vector<git_oid> pending, WalkControl* control, const Visit& visit) {
    OidSet seen(pending.begin(), pending.end());
    pending.assign(seen.begin(), seen.end());
    RawObject object;
    for (std::int64_t commits = 0; !pending.empty(); ++commits) {
        if (PublishAndLookForStop(control, commits))
            return {};
        const git_oid id = pending.back();
        pending.pop_back();
        const auto problem = [&](const std::string& what) {
            return "cannot read the history of " + m_quoted + ": commit " + git_oid_tostr_s(&id) + " " + what;
        };
        if (std::string failure = ReadObject(id, object); !failure.empty())
            return problem(failure);
        if (object.type != GIT_OBJECT_COMMIT)
            return problem("is not a commit");
        const std::optional<CommitHeader> commit = ParseCommitHeader(object.data);
        if (!commit)
            return problem("is damaged");
        const std::vector<git_oid>* parents = &commit->parents;
        static const std::vector<git_oid> kNone;
        if (m_shallow.contains(id)) {
            parents = &kNone;
            ++m_cutCommits;
            if (!commit->unreadableAuthor && (!m_oldestCut || commit->authorWallClock < m_oldestCut->first))
                m_oldestCut = {commit->authorWallClock, id};
        } else if (const auto graft = m_grafts.find(id); graft != m_grafts.end()) {
            parents = &graft->second;
        }
        for (const git_oid& parent : *parents)
            if (seen.insert(parent).second)
                pending.push_back(parent);
        if (commit->unreadableAuthor)
            ++m_skipped[commit->unreadableAuthor];
        else
            visit(id, *commit);
    }
    return {};
}

std::string CHistoryReader::Notice() const {
    std::string notice;
    if (m_cutCommits > 0) {
        notice = m_quoted + " is a shallow clone: its history is cut short at " +
                 std::to_string(m_cutCommits) + (m_cutCommits == 1 ? " commit" : " commits");
        if (m_oldestCut)
            notice += std::string(m_cutCommits == 1 ? ", " : ", the oldest ") + ShortId(m_oldestCut->second) +
                      " of " + DateText(m_oldestCut->first);
    }
    std::int64_t skipped = 0;
    std::string reasons;
    for (const auto& [reason, count] : m_skipped) {
        skipped += count;
        reasons += (reasons.empty() ? "" : ", ") + std::to_string(count) + " " + reason;
    }
    if (skipped > 0)
        notice += (notice.empty() ? "" : "; ") + std::to_string(skipped) +
                  (skipped == 1 ? " commit" : " commits") + " of " + m_quoted +
                  " skipped as unreadable: " + reasons;
    return notice;
}

} // namespace

bool ContainsIgnoringCase(std::string_view text, std::string_view pattern) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::search(text.begin(), text.end(), pattern.begin(), pattern.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

GitHistoryLoad ReadGitHistory(const std::string& folder, const GitHistoryOptions& options, IStampSink& sink,
                              WalkControl* control) {
    CHistoryReader reader;
    std::vector<git_oid> starts;
    GitHistoryLoad load;
    if (load.error = reader.Open(folder); !load.error.empty())
        return load;
    if (load.error = reader.FindStarts(options.allRefs, starts); !load.error.empty())
        return load;
    // Each commit is named by its id, author and subject in the repository's one folder.
    const IStampSink::FolderIndex repositoryFolder = sink.AddFolder(IStampSink::kNoFolder, "");
    std::string ident;
    load.error = reader.Walk(std::move(starts), control, [&](const git_oid& id, const CommitHeader& commit) {
        if (AuthorMatches(commit, options.authors, ident))
            sink.AddFile(repositoryFolder, CommitName(id, commit), commit.authorWallClock);
    });
    if (load.error.empty() && !(control != nullptr && control->stopRequested))
        load.notice = reader.Notice();
    return load;
}

GitHistoryLoad LoadGitHistory(const std::string& folder, const GitHistoryOptions& options, CStampStore& store,
                              WalkControl* control) {
    GitHistoryLoad load;
    try {
        store.Begin(GitHistoryName(folder, options), RecordKind::Commits, TimeBasis::WallClock);
        load = ReadGitHistory(folder, options, store, control);
    } catch (const std::bad_alloc&) {
        load.error = "not enough memory to read the history of '" + folder + "'";
    }
    if (!load.error.empty()) {
        store.Reset();
        load.notice.clear();
    }
    return load;
}

std::string GitHistoryName(const std::string& folder, const GitHistoryOptions& options) {
    std::string name = folder;
    for (std::size_t i = 0; i < options.authors.size(); ++i)
        name += (i == 0 ? " by " : ", ") + options.authors[i];
    return name;
}

GitAuthorsList ListGitAuthors(const std::string& folder, bool allRefs) {
    GitAuthorsList list;
    try {
        CHistoryReader reader;
        std::vector<git_oid> starts;
        if (list.error = reader.Open(folder); !list.error.empty())
            return list;
        if (list.error = reader.FindStarts(allRefs, starts); !list.error.empty())
            return list;
        std::map<std::pair<std::string, std::string>, std::int64_t> commits;
        list.error = reader.Walk(std::move(starts), nullptr, [&](const git_oid&, const CommitHeader& commit) {
            ++commits[{std::string(commit.authorName), std::string(commit.authorEmail)}];
        });
        for (auto& [author, count] : commits)
            list.authors.push_back({author.first, author.second, count});
        std::stable_sort(list.authors.begin(), list.authors.end(),
                         [](const GitAuthor& a, const GitAuthor& b) { return a.commits > b.commits; });
    } catch (const std::bad_alloc&) {
        list.error = "not enough memory to read the history of '" + folder + "'";
    }
    if (!list.error.empty())
        list.authors.clear();
    return list;
}
