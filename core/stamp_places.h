#pragma once

#include "growable_array.h"
#include "stamp_sink.h"

#include <cstdint>
#include <string>
#include <string_view>

// How much of each record's place a store keeps.
enum class PlaceDetail : std::uint8_t {
    None,    // times only
    Folders, // the folder of each record (4 bytes a record, plus the folder table)
    Names,   // the folder and the file name of each record
};

// Where each record of a store came from, kept apart from the times so that the recount runs
// over a dense array: a table of folders (each with its parent and its name) and one arena of
// names, with a folder (and, at the Names detail, a name) per record. A path is rebuilt only
// when someone asks for it.
class CStampPlaces {
public:
    using FolderIndex = IStampSink::FolderIndex;
    static constexpr FolderIndex kNoFolder = IStampSink::kNoFolder;
    using Index = std::int64_t;

    CStampPlaces() = default;
    CStampPlaces(CStampPlaces&&) noexcept = default;
    CStampPlaces& operator=(CStampPlaces&&) noexcept = default;

    // Empties the places; the detail stays.
    void Clear();
    // Empties the places and keeps the given detail from now on.
    void SetDetail(PlaceDetail detail) {
        Clear();
        m_detail = detail;
    }
    PlaceDetail Detail() const { return m_detail; }
    bool HasNames() const { return m_detail == PlaceDetail::Names; }

    // Throw std::bad_alloc when memory runs out, leaving what was added before.
    FolderIndex AddFolder(FolderIndex parent, std::string_view name);
    void AddFile(FolderIndex folder, std::string_view name);

    Index FileCount() const { return m_fileFolders.GetSize(); }
    // Keeps the places of the records kept(record) says, in their order; the folders all stay.
    template <typename Kept> void KeepFiles(Kept kept) {
        Index next = 0;
        for (Index record = 0; record < FileCount(); ++record) {
            if (!kept(record))
                continue;
            m_fileFolders[next] = m_fileFolders[record];
            if (HasNames())
                m_fileNames[next] = m_fileNames[record];
            ++next;
        }
        m_fileFolders.SetSize(next);
        if (HasNames())
            m_fileNames.SetSize(next);
    }
    FolderIndex FolderCount() const { return static_cast<FolderIndex>(m_folders.GetSize()); }

    FolderIndex FolderOf(Index record) const { return m_fileFolders[record]; }
    // The file's name; "" when names are not kept.
    std::string_view NameOf(Index record) const {
        return HasNames() ? NameAt(m_fileNames[record]) : std::string_view();
    }
    FolderIndex ParentOf(FolderIndex folder) const { return m_folders[folder].parent; }
    std::string_view FolderName(FolderIndex folder) const { return NameAt(m_folders[folder].nameOffset); }

    // The folder's path below the top folder ("" for the top itself, "a/b" two levels down),
    // starting with the top's name when it has one; kNoFolder gives "".
    std::string FolderPath(FolderIndex folder) const;
    // The record's path below the top folder ("a/b/name", or "name" for a file of the top);
    // without names, its folder's path.
    std::string RelativePath(Index record) const;

private:
    struct FolderEntry {
        std::uint64_t nameOffset;
        FolderIndex parent;
    };

    std::uint64_t AddName(std::string_view name);
    std::string_view NameAt(std::uint64_t offset) const { return m_names.data() + offset; }

    CGrowableArray<FolderEntry, Growth::Geometric> m_folders;
    CGrowableArray<FolderIndex, Growth::Geometric> m_fileFolders;
    CGrowableArray<std::uint64_t, Growth::Geometric> m_fileNames; // name offsets, at the Names detail only
    CGrowableArray<char, Growth::Geometric> m_names;              // each name followed by a NUL
    PlaceDetail m_detail = PlaceDetail::Names;
};

// A path below a folder written out in full: "/home/me" and "a/b" give "/home/me/a/b", "/" and
// "a" give "/a"; an empty relative path gives the folder itself.
std::string JoinPath(const std::string& folder, const std::string& relative);
