#pragma once

#include "directory_source.h"

// The real folder listing: a handle is the folder's descriptor. Folders are opened with
// openat relative to their open parent (so no path grows long), listed with raw getdents64
// into a buffer per thread, and each entry's time is read with statx asking for the
// modification time only, taking a network file system's cached attributes rather than
// asking the server again. Holds no state of its own, so any thread may call it.
class CPosixDirectorySource final : public IDirectorySource {
public:
    OpenResult OpenRoot(const std::string& path) override;
    OpenResult OpenChild(Handle parent, const char* name) override;
    int List(Handle folder, CFolderListing& listing) override;
    EntryTime ReadTime(Handle folder, const char* name) override;
    void Close(Handle folder) override;
    bool OnPseudoFileSystem(Handle folder) override;
    // Read from the descriptor's link in /proc/self/fd.
    std::string FolderPath(Handle folder) override;
    // The process's descriptor limit (RLIMIT_NOFILE) less the descriptors it has open.
    std::size_t HandlesLeft() override;
};
