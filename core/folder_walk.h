#pragma once

#include "directory_source.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

class CStampStore;
struct ScanProblems;
struct WalkControl;

// Depth-first walk of a folder tree that appends one record per file to the store, in the
// order the source lists each folder, a subfolder's files where the subfolder was met.
// The walk keeps its path on a heap stack (no recursion), keeps at most maxOpen folders
// open below the chosen one, and reads the rest of a folder into memory before closing
// it; a closed folder is reopened from the chosen one by name when a subfolder of it is due.
// Links are never followed, and a folder that is its own ancestor is not entered again.
// With a control, the walk counts its progress there and stops early when asked to.
class CFolderWalk {
public:
    static constexpr int kDefaultMaxOpen = 64;

    CFolderWalk(IDirectorySource& source, CStampStore& store, ScanProblems& problems,
                int maxOpen = kDefaultMaxOpen, WalkControl* control = nullptr);
    ~CFolderWalk();
    CFolderWalk(const CFolderWalk&) = delete;
    CFolderWalk& operator=(const CFolderWalk&) = delete;

    // Walks the tree below path. Throws std::bad_alloc when memory runs out; every folder
    // it opened is closed again in any case.
    void Run(const std::string& path);

private:
    using Handle = IDirectorySource::Handle;

    struct PendingEntry {
        std::string name;
        bool folder = false;
        std::int64_t lastWrite = 0;
    };

    // One folder on the current path.
    struct Frame {
        std::string name; // relative to the parent frame; unused for the chosen folder
        FolderId id;
        Handle handle = -1;
        bool drained = false;              // the rest of the listing is in pending
        std::vector<PendingEntry> pending; // read ahead before the handle was closed
        std::size_t nextPending = 0;
    };

    struct FolderIdHash {
        std::size_t operator()(const FolderId& id) const noexcept {
            return std::hash<std::uint64_t>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
        }
    };

    void Step();
    void HandleListedEntry(const DirectoryEntry& entry);
    void Descend(std::string_view name);
    void Pop();
    void Drain(Frame& frame);
    bool Reopen(std::size_t index);
    void CloseFrame(Frame& frame);
    bool FreeOneHandle(std::size_t keep);
    void CloseAll();
    Frame& Top() { return m_frames[m_depth - 1]; }
    bool IsRoot(const Frame& frame) const { return &frame == &m_frames[0]; }

    IDirectorySource& m_source;
    CStampStore& m_store;
    ScanProblems& m_problems;
    const int m_maxOpen;
    WalkControl* m_control;

    std::vector<Frame> m_frames; // reused between folders; the first m_depth are the path
    std::size_t m_depth = 0;
    std::size_t m_lowestOpen = 1; // frames [m_lowestOpen, m_depth) below the root are open
    int m_openBelowRoot = 0;
    std::unordered_set<FolderId, FolderIdHash> m_onPath;
};
