#pragma once

#include "growable_array.h"

#include <cstdint>
#include <string>

class IDirectorySource;

// One scanned file: its last-write time in seconds since 1970 UTC.
struct FileStamp {
    std::int64_t m_lastWrite = 0;
};

// What a walk could not see.
struct ScanProblems {
    std::int64_t unreadableFolders = 0; // folders below the chosen one that could not be listed
    int rootError = 0;                  // errno of the chosen folder itself; 0 when it was listed
};

// The last-write times of every file under the chosen folder, in depth-first walk order.
class CStampStore : public CGrowableArray<FileStamp> {
public:
    CStampStore();

    void Reset();

    // Empties the store and walks the tree below path (the path is kept exactly as given).
    // Never throws: when memory runs out the store is left empty.
    void Scan(const std::string& path);
    void Scan(const std::string& path, IDirectorySource& source);

    const std::string& GetFolder() const { return m_strFolder; }
    FileStamp GetAt(Index i) const { return (*this)[i]; }
    const ScanProblems& GetProblems() const { return m_problems; }

    std::int64_t m_nFiles = 0;

private:
    std::string m_strFolder;
    ScanProblems m_problems;
};

// The one store of the program.
extern CStampStore theStampStore;
