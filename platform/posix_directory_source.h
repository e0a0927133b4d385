#pragma once

#include "directory_source.h"

#include <memory>
#include <vector>

// The real folder listing: openat relative to the open parent, raw getdents64 into a
// buffer per open folder, and fstatat without following links for every entry that the
// listing does not already mark as a folder.
class CPosixDirectorySource final : public IDirectorySource {
public:
    CPosixDirectorySource() = default;
    ~CPosixDirectorySource() override;
    CPosixDirectorySource(const CPosixDirectorySource&) = delete;
    CPosixDirectorySource& operator=(const CPosixDirectorySource&) = delete;

    OpenResult OpenRoot(const std::string& path) override;
    OpenResult OpenChild(Handle parent, const std::string& name) override;
    ReadResult Next(Handle folder, DirectoryEntry& entry, int& error) override;
    void Close(Handle folder) override;

private:
    struct Slot {
        int fd = -1;
        std::unique_ptr<char[]> buffer;
        std::size_t position = 0;
        std::size_t length = 0;
    };

    OpenResult Adopt(int fd);

    std::vector<Slot> m_slots;       // indexed by handle
    std::vector<Handle> m_freeSlots; // closed slots whose buffers can be reused
};
