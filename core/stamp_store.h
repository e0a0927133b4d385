#pragma once

#include "folder_walk.h"
#include "growable_array.h"
#include "scan_problems.h"
#include "stamp_places.h"
#include "stamp_sink.h"

#include <cstdint>
#include <span>
#include <string>

struct WalkControl;

// One scanned file: its last-write time in seconds since 1970 UTC.
struct FileStamp {
    std::int64_t m_lastWrite = 0;
};

// How the times of a store are read when they are binned.
enum class TimeBasis {
    Utc,       // seconds since 1970 UTC, binned in the local zone (file times)
    WallClock, // a clock's own reading counted as if it were UTC, binned as UTC (commits in their
               // author's offset keep the author's hours wherever they are analysed)
};

// What the records of a store are, for the title line.
enum class RecordKind { Files, Commits };
// "files" or "commits"; "file" or "commit" for one.
inline const char* RecordNoun(RecordKind kind, std::int64_t count = 2) {
    if (kind == RecordKind::Commits)
        return count == 1 ? "commit" : "commits";
    return count == 1 ? "file" : "files";
}

// The last-write times of every file under the chosen folder, in depth-first walk order, and,
// when asked to keep them, the folder and name of each.
class CStampStore : public CGrowableArray<FileStamp, Growth::Geometric>, public IStampSink {
public:
    CStampStore();
    // Hands a finished store over whole (a walk run on another thread fills a store of its
    // own); the store moved from is left empty.
    CStampStore(CStampStore&& other) noexcept;
    CStampStore& operator=(CStampStore&& other) noexcept;

    // Empties the store; the choice of keeping places stays. The store then holds file times
    // read in UTC, from no folder.
    void Reset();

    // For a source other than the walk: empties the store and says what its records will be,
    // where they come from (kept exactly as given) and how their times are read.
    void Begin(std::string folder, RecordKind kind, TimeBasis basis);
    TimeBasis Basis() const { return m_basis; }
    RecordKind Kind() const { return m_kind; }

    // How much of each record's place the next scan keeps (none by default: the histograms do
    // not need them, and names cost more memory than the times). Empties the places.
    void KeepPlaces(PlaceDetail detail) {
        m_keepPlaces = detail != PlaceDetail::None;
        if (m_keepPlaces)
            m_places.SetDetail(detail);
        else
            m_places.Clear();
    }
    bool KeepsPlaces() const { return m_keepPlaces; }
    // The places of the records, one per record when places are kept, else empty.
    const CStampPlaces& Places() const { return m_places; }

    // Empties the store and walks the tree below path (the path is kept exactly as given) with
    // the given source and number of threads; control, when given, reports progress and can
    // stop the walk. Returns false when it was stopped: the store is then empty. Never throws:
    // when memory runs out the store is left empty and the problem is ENOMEM.
    bool Scan(const std::string& path, IDirectorySource& source, int jobs = kDefaultJobs,
              WalkControl* control = nullptr);
    // The same for several trees analysed together as one, walked in the order given. The folder
    // is then named by FolderListName. A tree that cannot be read ends the scan: its problem is
    // rootError and its index among the paths rootIndex.
    bool Scan(std::span<const std::string> paths, IDirectorySource& source, int jobs = kDefaultJobs,
              WalkControl* control = nullptr);

    FolderIndex AddFolder(FolderIndex parent, std::string_view name) override {
        return m_keepPlaces ? m_places.AddFolder(parent, name) : kNoFolder;
    }
    void AddFile(FolderIndex folder, std::string_view name, std::int64_t lastWrite) override {
        if (m_keepPlaces)
            m_places.AddFile(folder, name);
        Add(FileStamp{lastWrite});
        ++m_nFiles;
    }
    // Appends one file's record with no place of its own.
    void AddStamp(std::int64_t lastWrite) { AddFile(kNoFolder, {}, lastWrite); }

    // Keeps only the records written at since or later and before until, with their places, in
    // walk order; returns how many were dropped.
    std::int64_t KeepWrittenIn(std::int64_t since, std::int64_t until);

    const std::string& GetFolder() const { return m_strFolder; }
    // The folder the places' paths are below: the one folder walked; "" when they stand whole
    // (several folders, each path starting with its own; a list's paths as it gave them).
    const std::string& PathRoot() const { return m_pathRoot; }
    // A record's path and a folder's path written out in full, as a shell would name them.
    std::string FullPath(Index record) const { return JoinPath(m_pathRoot, m_places.RelativePath(record)); }
    std::string FullFolderPath(FolderIndex folder) const {
        return JoinPath(m_pathRoot, m_places.FolderPath(folder));
    }
    FileStamp GetAt(Index i) const { return (*this)[i]; }
    const ScanProblems& GetProblems() const { return m_problems; }

    std::int64_t m_nFiles = 0;

private:
    std::string m_strFolder;
    std::string m_pathRoot;
    ScanProblems m_problems;
    bool m_keepPlaces = false;
    CStampPlaces m_places;
    TimeBasis m_basis = TimeBasis::Utc;
    RecordKind m_kind = RecordKind::Files;
};

// How several chosen folders are named where one would be: the first, and how many more
// ("src and 2 more folders"); the one folder alone when there is one.
std::string FolderListName(std::span<const std::string> paths);

// The title line of an analysis: "<count> files in <folder>", or "<count> commits in <folder>"
// for a repository's history; any count and path length.
std::string FormatFilesTitle(std::int64_t files, const std::string& folder,
                             RecordKind kind = RecordKind::Files);

// The one store of the program.
extern CStampStore theStampStore;
