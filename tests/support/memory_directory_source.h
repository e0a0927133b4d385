#pragma once

#include "directory_source.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// A folder tree held in memory, listed in the order it was built, for tests of the walk:
// any listing order, folders that cannot be opened or listed, entries that vanish or whose
// time cannot be read, one folder reachable under several names (as a bind mount makes it).
// It also checks that the walk uses its handles properly and counts how many it holds open
// at once. Safe to call from several threads, as the walk does.
class CMemoryDirectorySource final : public IDirectorySource {
public:
    static constexpr int kRoot = 0;

    CMemoryDirectorySource();

    int AddFolder(int parent, const std::string& name);
    void AddFile(int parent, const std::string& name, std::int64_t lastWrite);
    void AddVanished(int parent, const std::string& name);
    // Lists an existing folder once more, under another name inside parent.
    void AddFolderAlias(int parent, const std::string& name, int folder);
    void SetOpenError(int folder, int error);
    // Listing the folder fails with error after it has given `after` entries.
    void SetListError(int folder, int after, int error);
    // Reading the time of any entry of the folder fails with error (as in a folder that can be
    // listed but not searched).
    void SetTimeError(int folder, int error);
    // The folder's listing does not say which entries are folders, as on some file systems.
    void SetKindsUnknown(int folder);
    // The folder is the top of another file system (its device), made up by the kernel or not.
    void SetFileSystem(int folder, std::uint64_t device, bool pseudo);
    // Opening fails with EMFILE while this many folders are open, like a low descriptor limit;
    // HandlesLeft tells the walk of it unless the limit is hidden, like descriptors that other
    // parts of the process take while the walk runs.
    void SetOpenLimit(int limit, bool hidden = false) {
        m_openLimit = limit;
        m_openLimitHidden = hidden;
    }
    // Listing or reading a time throws std::bad_alloc once this many entries have been read.
    void RunOutOfMemoryAfter(int reads) { m_readsBeforeOutOfMemory = reads; }

    int OpenNow() const { return m_openNow; }
    int MostOpen() const { return m_mostOpen; }
    int Misuses() const { return m_misuses; }
    int Opens() const { return m_opens; }

    OpenResult OpenRoot(const std::string& path) override;
    OpenResult OpenChild(Handle parent, const char* name) override;
    int List(Handle folder, CFolderListing& listing) override;
    EntryTime ReadTime(Handle folder, const char* name) override;
    void Close(Handle folder) override;
    bool OnPseudoFileSystem(Handle folder) override;
    // The path given to OpenRoot with the folder's names below it (the first, for an alias).
    std::string FolderPath(Handle folder) override;
    std::size_t HandlesLeft() override;

private:
    enum class Type { File, Folder, Vanished };
    struct Entry {
        std::string name;
        Type type;
        std::int64_t lastWrite;
        int folder; // node of a folder entry
    };
    struct Folder {
        std::vector<Entry> entries;
        int openError = 0;
        int listErrorAfter = -1;
        int listError = 0;
        int timeError = 0;
        bool kindsUnknown = false;
        std::uint64_t device = 1;
        bool pseudo = false;
        std::string path; // below the root: "/a/b"
    };
    struct OpenFolder {
        int folder = -1;
        bool open = false;
        bool listed = false;
    };

    OpenResult Open(int folder);
    bool Valid(Handle handle) const;
    const Entry* Find(Handle parent, const char* name) const;
    void CountRead();

    mutable std::mutex m_mutex;
    std::vector<Folder> m_folders;
    std::vector<OpenFolder> m_handles;
    std::string m_rootPath;
    int m_openNow = 0;
    int m_mostOpen = 0;
    int m_misuses = 0;
    int m_opens = 0;
    int m_readsBeforeOutOfMemory = -1;
    int m_openLimit = -1;
    bool m_openLimitHidden = false;
};
