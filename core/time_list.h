#pragma once

#include "stamp_sink.h"
#include "walk_control.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One record of a time list: whole seconds since 1970 UTC, as `busyscope-report --format times`
// writes them, or a time with a fraction and perhaps a path after one space, as
// `find -printf '%T@\n'` and `find -printf '%T@ %p\n'` write them. The fraction is dropped
// (rounding down, as a file's time is counted in whole seconds).
struct TimeListLine {
    std::int64_t time = 0;
    std::string_view path; // empty when the line has none
    bool operator==(const TimeListLine&) const = default;
};
std::optional<TimeListLine> ParseTimeListLine(std::string_view line);

// How the records of a time list end.
enum class RecordEnd : std::uint8_t {
    Newline, // one record a line; CRLF line ends, blanks around a line and blank lines at the end pass
    Nul,     // each record ends with a NUL byte, as find -printf '%T@ %p\0' writes them: a path keeps
             // every byte it has, newlines and blanks included
    Detect,  // (reading only) Nul when the start of the list holds a NUL byte, else Newline
};

// How much of a list's start Detect looks at.
inline constexpr std::size_t kRecordEndSniffBytes = 64 * 1024;
// Nul when the bytes (the start of a list) hold a NUL byte, which no line of text does.
RecordEnd DetectRecordEnd(std::string_view firstBytes);

// The longest record a list may hold, its end not counted: far above any path a file system
// lets a program open, small enough that a list of one endless line cannot use up the memory.
inline constexpr std::size_t kLongestTimeListRecord = 1024 * 1024;

// How the reading of one list ended.
struct TimeListOutcome {
    int readError = 0;        // errno when the list could not be read to its end
    std::int64_t badLine = 0; // number (from 1) of the first record refused; 0 when none
    std::string problem;      // what is wrong with it ("not a time"), or that it is too long
    std::string badText;      // the start of that record
    std::int64_t times = 0;   // times added from this list
    bool tooLong = false;     // the record is longer than kLongestTimeListRecord
    bool Good() const { return readError == 0 && badLine == 0; }
};

// Reads time lists into a sink, one after another; the paths of all of them share one folder
// tree below the sink's top folder ("./a/x" and "a/y" name the same folder a, "/a/x" another
// one). A path keeps its leading '/': the places then give back the path the list named.
class CTimeListReader {
public:
    // With a control the reader publishes the times read so far and stops early once a stop is
    // requested.
    explicit CTimeListReader(IStampSink& sink, WalkControl* control = nullptr,
                             RecordEnd recordEnd = RecordEnd::Newline)
        : m_sink(sink), m_control(control), m_recordEnd(recordEnd) {}

    // Reads records until the end of the list, the first record refused or a stop; the times
    // before that record stay in the sink. Throws std::bad_alloc when memory runs out.
    TimeListOutcome Read(std::FILE* list);
    bool Stopped() const { return m_stopped; }

private:
    using FolderIndex = IStampSink::FolderIndex;
    // A folder by its parent and its name, as the sink's folder table holds it; looked up by a
    // view of the name, so that a lookup makes no string.
    struct FolderKey {
        FolderIndex parent;
        std::string name;
    };
    struct FolderKeyView {
        FolderIndex parent;
        std::string_view name;
    };
    struct FolderKeyHash {
        using is_transparent = void;
        template <class Key> std::size_t operator()(const Key& key) const {
            return std::hash<std::string_view>()(key.name) ^ (std::size_t{key.parent} * 0x9E3779B97F4A7C15u);
        }
    };
    struct FolderKeyEqual {
        using is_transparent = void;
        template <class A, class B> bool operator()(const A& a, const B& b) const {
            return a.parent == b.parent && std::string_view(a.name) == std::string_view(b.name);
        }
    };
    // One folder of the path read last, by where its name ends in that path.
    struct ChainLink {
        std::size_t end;
        FolderIndex folder;
    };

    // Takes one record (its end removed; a line of text when lines); false when it is refused,
    // with outcome saying why, or when a stop was requested.
    bool Take(std::string_view record, std::int64_t number, bool lines, TimeListOutcome& outcome);
    void Add(const TimeListLine& line);
    FolderIndex FolderOf(std::string_view folderPath);
    FolderIndex ChildFolder(FolderIndex parent, std::string_view name);

    IStampSink& m_sink;
    WalkControl* const m_control;
    const RecordEnd m_recordEnd;
    std::int64_t m_times = 0;     // read from every list so far
    std::int64_t m_blankLine = 0; // the first blank line of the list in hand, until a record follows
    bool m_stopped = false;
    std::optional<FolderIndex> m_top; // made at the first path
    std::unordered_map<FolderKey, FolderIndex, FolderKeyHash, FolderKeyEqual> m_folders;
    // Lists name the files of one folder together, and its subfolders next: the folders of the
    // path read last are reused as far as the next path shares them.
    std::string m_lastFolderPath;
    std::vector<ChainLink> m_lastChain;
    FolderIndex m_lastFolder = IStampSink::kNoFolder;
};

class CStampStore;

// How loading lists into a store ended; message is one line naming the list (and the line).
struct TimeListsLoad {
    enum class Failure {
        None,
        Unreadable, // the list could not be read to its end: missing, a read error, no memory, a line too
                    // long
        BadLine,    // a record is not a time, or its path names no file
    };
    Failure failure = Failure::None;
    std::string message;
};

// Empties the store and fills it with the times of the lists at paths ("-" is standard input),
// merged in the order given; the store's folder names the lists. On failure the store is left
// empty. With a control it publishes progress and ends early, with no failure, on a stop.
TimeListsLoad LoadTimeLists(std::span<const std::string> paths, CStampStore& store,
                            WalkControl* control = nullptr, RecordEnd recordEnd = RecordEnd::Newline);

// Writes the store's times as a time list, in store order. One per line: whole seconds since 1970
// UTC. NUL-ended: each with its path after one space when the store keeps the file's name (a
// path below the store's folder, as --files-at names it), so that every byte of a name survives.
void WriteTimeList(std::ostream& out, const CStampStore& store, RecordEnd recordEnd = RecordEnd::Newline);

// How a list's path is shown: "standard input" for "-".
std::string TimeListName(const std::string& path);
