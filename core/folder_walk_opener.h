#pragma once

#include "open_folder_cache.h"
#include "walk_folder.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_set>

// Opens a walk's folders, each through its parent (opened again by name from the nearest open
// ancestor when it was closed), within the budget of descriptors set before the walk: folders
// kept open for their subfolders are closed, the shallowest first, beyond it, and when the
// process runs out of descriptors all the same. Never enters a folder that is its own ancestor.
// Shares the walk's mutex; a function that must run under it takes the held lock.
class CFolderWalkOpener {
public:
    CFolderWalkOpener(IDirectorySource& source, std::mutex& mutex, std::size_t maxKept)
        : m_source(source), m_mutex(mutex), m_cache(source, maxKept) {}

    // Opens the chosen folder; its errno when it cannot. It stays open throughout.
    int OpenRoot(const std::string& path, WalkFolder& root);
    // Opens a folder below the chosen one; false when it cannot be entered (its openError or
    // loop then tells why).
    bool Open(WalkFolder& folder);
    // Every time of the folder is read: it stays open only for subfolders still to be opened.
    void Read(WalkFolder& folder, const WalkLock& held);
    // The folder's records are appended.
    void Appended(const WalkFolder& folder, const WalkLock& held);
    // Closes every folder, once no other thread uses any.
    void CloseAll(const WalkLock& held) { m_cache.CloseAll(held); }

private:
    IDirectorySource::OpenResult AcquireHandle(WalkFolder& folder);
    IDirectorySource::OpenResult OpenChild(IDirectorySource::Handle parent, const char* name);
    bool IsOwnAncestor(const WalkFolder& parent, const FolderId& id, const WalkLock& held) const;

    struct FolderIdHash {
        std::size_t operator()(const FolderId& id) const {
            return std::hash<std::uint64_t>{}(id.inode * 0x9e3779b97f4a7c15ULL ^ id.device);
        }
    };

    IDirectorySource& m_source;
    std::mutex& m_mutex;
    COpenFolderCache m_cache;
    // Identities of the folders opened and not yet appended with all their subfolders; every
    // ancestor of a folder being opened is among them.
    std::unordered_multiset<FolderId, FolderIdHash> m_openIds;
};
