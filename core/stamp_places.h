#pragma once

#include "growable_array.h"
#include "stamp_sink.h"

#include <cstdint>
#include <string>
#include <string_view>

// Where each record of a store came from, kept apart from the times so that the recount runs
// over a dense array: a table of folders (each with its parent and its name) and one arena of
// names, with a folder and a name per record. A path is rebuilt only when someone asks for it.
class CStampPlaces {
public:
    using FolderIndex = IStampSink::FolderIndex;
    static constexpr FolderIndex kNoFolder = IStampSink::kNoFolder;
    using Index = std::int64_t;

    CStampPlaces() = default;
    CStampPlaces(CStampPlaces&&) noexcept = default;
    CStampPlaces& operator=(CStampPlaces&&) noexcept = default;

    void Clear();

    // Throw std::bad_alloc when memory runs out, leaving what was added before.
    FolderIndex AddFolder(FolderIndex parent, std::string_view name);
    void AddFile(FolderIndex folder, std::string_view name);

    Index FileCount() const { return m_files.GetSize(); }
    FolderIndex FolderCount() const { return static_cast<FolderIndex>(m_folders.GetSize()); }

    FolderIndex FolderOf(Index record) const { return m_files[record].folder; }
    std::string_view NameOf(Index record) const { return NameAt(m_files[record].nameOffset); }
    FolderIndex ParentOf(FolderIndex folder) const { return m_folders[folder].parent; }
    std::string_view FolderName(FolderIndex folder) const { return NameAt(m_folders[folder].nameOffset); }

    // The folder's path below the top folder ("" for the top itself, "a/b" two levels down);
    // kNoFolder gives "".
    std::string FolderPath(FolderIndex folder) const;
    // The record's path below the top folder ("a/b/name", or "name" for a file of the top).
    std::string RelativePath(Index record) const;

private:
    struct FolderEntry {
        std::uint64_t nameOffset;
        FolderIndex parent;
    };
    struct FileEntry {
        std::uint64_t nameOffset;
        FolderIndex folder;
    };

    std::uint64_t AddName(std::string_view name);
    std::string_view NameAt(std::uint64_t offset) const { return m_names.data() + offset; }

    CGrowableArray<FolderEntry> m_folders;
    CGrowableArray<FileEntry> m_files;
    CGrowableArray<char> m_names; // each name followed by a NUL
};
