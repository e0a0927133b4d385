#pragma once

#include "stamp_sink.h"
#include "walk_control.h"

#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

// One line of a time list: whole seconds since 1970 UTC, as `busyscope-report --format times`
// writes them, or a time with a fraction and perhaps a path after one space, as
// `find -printf '%T@\n'` and `find -printf '%T@ %p\n'` write them. The fraction is dropped
// (rounding down, as a file's time is counted in whole seconds).
struct TimeListLine {
    std::int64_t time = 0;
    std::string_view path; // empty when the line has none
    bool operator==(const TimeListLine&) const = default;
};
std::optional<TimeListLine> ParseTimeListLine(std::string_view line);

// How the reading of one list ended.
struct TimeListOutcome {
    int readError = 0;         // errno when the list could not be read to its end
    std::int64_t badLine = 0;  // number (from 1) of the first line that is not a time; 0 when none
    std::string badText;       // that line
    std::int64_t times = 0;    // times added from this list
    bool Good() const { return readError == 0 && badLine == 0; }
};

// Reads time lists into a sink, one after another; the paths of all of them share one folder
// tree below the sink's top folder ("./a/x" and "a/y" name the same folder a).
class CTimeListReader {
public:
    // With a control the reader publishes the times read so far and stops early once a stop is
    // requested.
    explicit CTimeListReader(IStampSink& sink, WalkControl* control = nullptr)
        : m_sink(sink), m_control(control) {}

    // Reads lines until the end of the list, the first line that is not a time or a stop; the
    // times before that line stay in the sink.
    TimeListOutcome Read(std::FILE* list);
    bool Stopped() const { return m_stopped; }

private:
    using FolderIndex = IStampSink::FolderIndex;
    void Add(const TimeListLine& line);
    FolderIndex FolderOf(std::string_view folderPath);

    IStampSink& m_sink;
    WalkControl* const m_control;
    std::int64_t m_times = 0; // read from every list so far
    bool m_stopped = false;
    std::optional<FolderIndex> m_top; // made at the first path
    std::unordered_map<std::string, FolderIndex> m_folders; // "a/b" -> its index
    std::string m_lastFolderPath;     // lists name the files of one folder together
    FolderIndex m_lastFolder = IStampSink::kNoFolder;
};

class CStampStore;

// How loading lists into a store ended; message is one line naming the list (and the line).
struct TimeListsLoad {
    enum class Failure { None, Unreadable, NotATime };
    Failure failure = Failure::None;
    std::string message;
};

// Empties the store and fills it with the times of the lists at paths ("-" is standard input),
// merged in the order given; the store's folder names the lists. On failure the store is left
// empty. With a control it publishes progress and ends early, with no failure, on a stop.
TimeListsLoad LoadTimeLists(std::span<const std::string> paths, CStampStore& store,
                            WalkControl* control = nullptr);

// Writes the store's times as a time list: whole seconds since 1970 UTC, one per line, in store order.
void WriteTimeList(std::ostream& out, const CStampStore& store);

// How a list's path is shown: "standard input" for "-".
std::string TimeListName(const std::string& path);
