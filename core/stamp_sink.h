#pragma once

#include <cstdint>
#include <string_view>

// Where a source of times puts its records, in their final order: the walk of a folder tree,
// and any other source that can say where each time came from. Folders come before the files
// they hold; a folder's index is what its files and subfolders name as their place.
class IStampSink {
public:
    using FolderIndex = std::uint32_t;
    static constexpr FolderIndex kNoFolder = ~FolderIndex{0};

    virtual ~IStampSink() = default;

    // A folder inside parent (kNoFolder for the top of the tree, whose name is ""). Returns the
    // index its files and subfolders are added with.
    virtual FolderIndex AddFolder(FolderIndex parent, std::string_view name) = 0;
    // One file of folder, written at lastWrite (seconds since 1970 UTC).
    virtual void AddFile(FolderIndex folder, std::string_view name, std::int64_t lastWrite) = 0;
};
