#pragma once

#include "folder_walk.h"
#include "growable_array.h"

#include <cstdint>
#include <string>

struct WalkControl;

// One scanned file: its last-write time in seconds since 1970 UTC.
struct FileStamp {
    std::int64_t m_lastWrite = 0;
};

// What a walk could not see.
struct ScanProblems {
    std::int64_t unreadableFolders = 0; // folders below the chosen one that could not be listed
    int rootError = 0;                  // errno of the chosen folder itself; 0 when it was listed
    std::int64_t skippedLoops = 0;      // folders not entered again because they are their own ancestor
};

// The last-write times of every file under the chosen folder, in depth-first walk order.
class CStampStore : public CGrowableArray<FileStamp> {
public:
    CStampStore();
    // Hands a finished store over whole (a walk run on another thread fills a store of its
    // own); the store moved from is left empty.
    CStampStore(CStampStore&& other) noexcept;
    CStampStore& operator=(CStampStore&& other) noexcept;

    void Reset();

    // Empties the store and walks the tree below path (the path is kept exactly as given) with
    // the given source and number of threads; control, when given, reports progress and can
    // stop the walk. Returns false when it was stopped: the store is then empty. Never throws:
    // when memory runs out the store is left empty and the problem is ENOMEM.
    bool Scan(const std::string& path, IDirectorySource& source, int jobs = WalkLimits::kDefaultJobs,
              WalkControl* control = nullptr);

    // Appends one file's record.
    void AddStamp(std::int64_t lastWrite) {
        Add(FileStamp{lastWrite});
        ++m_nFiles;
    }

    const std::string& GetFolder() const { return m_strFolder; }
    FileStamp GetAt(Index i) const { return (*this)[i]; }
    const ScanProblems& GetProblems() const { return m_problems; }

    std::int64_t m_nFiles = 0;

private:
    std::string m_strFolder;
    ScanProblems m_problems;
};

// The title line of an analysis: "<count> files in <folder>", any count and path length.
std::string FormatFilesTitle(std::int64_t files, const std::string& folder);

// The one store of the program.
extern CStampStore theStampStore;
