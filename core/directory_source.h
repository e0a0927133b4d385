#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Identity of a folder on its file system, to recognise a folder that is its own ancestor.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderId&) const = default;
};

// One entry of a folder listing, as the walk needs it. The name stays valid until the
// next call on the same source.
struct DirectoryEntry {
    enum class Type {
        File,    // anything that is not a folder: files, links, fifos, sockets, devices
        Folder,  // a real folder (never a link to one)
        Vanished // listed, but gone before its time could be read
    };
    std::string_view name;
    Type type = Type::File;
    std::int64_t lastWrite = 0; // seconds since 1970 UTC; only for files
};

// The enumeration the walk runs on. The real one reads the file system; tests feed
// their own trees. Handles are small non-negative numbers chosen by the source.
class IDirectorySource {
public:
    using Handle = int;

    struct OpenResult {
        Handle handle = -1; // -1 when the folder could not be opened
        int error = 0;      // errno when it could not
        FolderId id;
    };

    enum class ReadResult { Entry, End, Error };

    virtual ~IDirectorySource() = default;

    // Opens the chosen folder (following a link to it).
    virtual OpenResult OpenRoot(const std::string& path) = 0;
    // Opens the folder called name inside an open folder, never following a link.
    virtual OpenResult OpenChild(Handle parent, const std::string& name) = 0;
    // Reads the next entry of an open folder ("." and ".." included, if the source lists them).
    // On Error, error holds the errno.
    virtual ReadResult Next(Handle folder, DirectoryEntry& entry, int& error) = 0;
    virtual void Close(Handle folder) = 0;
};
