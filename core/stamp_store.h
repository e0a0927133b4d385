#pragma once

#include "growable_array.h"

#include <cstdint>
#include <string>

class IDirectorySource;
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

    void Reset();

    // Empties the store and walks the tree below path (the path is kept exactly as given).
    // Never throws: when memory runs out, or the control asks the walk to stop, the store is
    // left empty.
    void Scan(const std::string& path);
    void Scan(const std::string& path, IDirectorySource& source, WalkControl* control = nullptr);

    // Walks the tree below path and appends its files, without emptying the store first.
    void ScanFolder(const std::string& path, IDirectorySource& source, WalkControl* control = nullptr);

    // Exchanges the whole contents with another store, without copying records.
    void Swap(CStampStore& other) noexcept;

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
