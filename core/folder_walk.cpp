#include "folder_walk.h"

#include "stamp_store.h"
#include "walk_control.h"

#include <cerrno>

namespace {

bool IsDots(std::string_view name) {
    return name == "." || name == "..";
}

bool IsOutOfDescriptors(int error) {
    return error == EMFILE || error == ENFILE;
}

} // namespace

CFolderWalk::CFolderWalk(IDirectorySource& source, CStampStore& store, ScanProblems& problems, int maxOpen,
                         WalkControl* control)
    : m_source(source), m_store(store), m_problems(problems), m_maxOpen(maxOpen < 1 ? 1 : maxOpen),
      m_control(control) {}

CFolderWalk::~CFolderWalk() {
    CloseAll();
}

void CFolderWalk::Run(const std::string& path) {
    CloseAll();
    m_onPath.clear();
    if (m_frames.empty())
        m_frames.emplace_back();
    const IDirectorySource::OpenResult root = m_source.OpenRoot(path);
    if (root.handle < 0) {
        m_problems.rootError = root.error;
        return;
    }
    Frame& frame = m_frames[0];
    frame.handle = root.handle;
    frame.id = root.id;
    frame.drained = false;
    frame.pending.clear();
    frame.nextPending = 0;
    m_depth = 1;
    m_lowestOpen = 1;
    m_openBelowRoot = 0;
    m_onPath.insert(root.id);
    while (m_depth > 0 && !(m_control && m_control->stopRequested.load(std::memory_order_relaxed)))
        Step();
}

// Handles one entry of the deepest folder, or leaves that folder when it has no more.
void CFolderWalk::Step() {
    if (m_frames.size() <= m_depth)
        m_frames.emplace_back(); // room for a child before references into m_frames are taken
    Frame& frame = Top();
    if (!frame.drained) {
        DirectoryEntry entry;
        int error = 0;
        switch (m_source.Next(frame.handle, entry, error)) {
        case IDirectorySource::ReadResult::Entry:
            HandleListedEntry(entry);
            return;
        case IDirectorySource::ReadResult::Error:
            if (IsRoot(frame))
                m_problems.rootError = error;
            else
                ++m_problems.unreadableFolders;
            Pop();
            return;
        case IDirectorySource::ReadResult::End:
            Pop();
            return;
        }
    }
    if (frame.nextPending == frame.pending.size()) {
        Pop();
        return;
    }
    const PendingEntry& entry = frame.pending[frame.nextPending++];
    if (!entry.folder) {
        m_store.AddStamp(entry.lastWrite);
        return;
    }
    if (frame.handle < 0 && !Reopen(m_depth - 1)) {
        ++m_problems.unreadableFolders;
        return;
    }
    Descend(entry.name);
}

void CFolderWalk::HandleListedEntry(const DirectoryEntry& entry) {
    switch (entry.type) {
    case DirectoryEntry::Type::File:
        m_store.AddStamp(entry.lastWrite);
        break;
    case DirectoryEntry::Type::Folder:
        if (!IsDots(entry.name))
            Descend(entry.name);
        break;
    case DirectoryEntry::Type::Vanished:
        break;
    }
}

// Opens a subfolder of the deepest folder and makes it the deepest.
void CFolderWalk::Descend(std::string_view name) {
    const std::size_t parentIndex = m_depth - 1;
    Frame& child = m_frames[m_depth];
    child.name.assign(name); // the source may reuse the memory behind name from here on
    const Handle parent = m_frames[parentIndex].handle;
    IDirectorySource::OpenResult opened = m_source.OpenChild(parent, child.name);
    while (opened.handle < 0 && (opened.error == EMFILE || opened.error == ENFILE) &&
           FreeOneHandle(parentIndex))
        opened = m_source.OpenChild(parent, child.name);
    if (opened.handle < 0) {
        ++m_problems.unreadableFolders;
        return;
    }
    if (m_onPath.contains(opened.id)) {
        m_source.Close(opened.handle);
        ++m_problems.skippedLoops;
        return;
    }
    child.handle = opened.handle;
    child.id = opened.id;
    child.drained = false;
    child.pending.clear();
    child.nextPending = 0;
    ++m_depth;
    ++m_openBelowRoot;
    m_onPath.insert(opened.id);
    if (m_openBelowRoot > m_maxOpen)
        FreeOneHandle(m_depth - 1);
}

void CFolderWalk::Pop() {
    if (m_control) {
        m_control->foldersListed.fetch_add(1, std::memory_order_relaxed);
        m_control->filesFound.store(m_store.m_nFiles, std::memory_order_relaxed);
    }
    Frame& frame = Top();
    if (frame.handle >= 0) {
        m_source.Close(frame.handle);
        frame.handle = -1;
        if (!IsRoot(frame))
            --m_openBelowRoot;
    }
    m_onPath.erase(frame.id);
    frame.pending.clear();
    frame.nextPending = 0;
    frame.drained = false;
    --m_depth;
    if (m_lowestOpen > m_depth)
        m_lowestOpen = m_depth > 0 ? m_depth : 1;
}

// Reads the rest of a folder's listing into memory and closes it.
void CFolderWalk::Drain(Frame& frame) {
    if (!frame.drained) {
        frame.drained = true;
        DirectoryEntry entry;
        int error = 0;
        for (;;) {
            const IDirectorySource::ReadResult result = m_source.Next(frame.handle, entry, error);
            if (result == IDirectorySource::ReadResult::End)
                break;
            if (result == IDirectorySource::ReadResult::Error) {
                ++m_problems.unreadableFolders;
                break;
            }
            if (entry.type == DirectoryEntry::Type::Vanished || IsDots(entry.name))
                continue;
            const bool folder = entry.type == DirectoryEntry::Type::Folder;
            frame.pending.push_back(
                {folder ? std::string(entry.name) : std::string(), folder, entry.lastWrite});
        }
    }
    m_source.Close(frame.handle);
    frame.handle = -1;
}

// Closes the shallowest open folder below the chosen one, unless that is the frame to keep.
bool CFolderWalk::FreeOneHandle(std::size_t keep) {
    if (m_openBelowRoot == 0 || m_lowestOpen >= keep)
        return false;
    Drain(m_frames[m_lowestOpen]);
    ++m_lowestOpen;
    --m_openBelowRoot;
    return true;
}

// Opens the closed folder at index again, by name from the chosen folder, keeping the last
// m_maxOpen folders of the path open (fewer when the system runs out of descriptors). Every
// folder below the root is closed when it runs.
bool CFolderWalk::Reopen(std::size_t index) {
    const std::size_t maxOpen = static_cast<std::size_t>(m_maxOpen);
    std::size_t keepFrom = index >= maxOpen ? index - maxOpen + 1 : 1;
    Handle handle = m_frames[0].handle;
    bool handleKept = true; // the root's handle stays open
    for (std::size_t d = 1; d <= index; ++d) {
        IDirectorySource::OpenResult opened = m_source.OpenChild(handle, m_frames[d].name);
        while (opened.handle < 0 && IsOutOfDescriptors(opened.error) && keepFrom + 1 < d) {
            CloseFrame(m_frames[keepFrom++]);
            opened = m_source.OpenChild(handle, m_frames[d].name);
        }
        if (!handleKept)
            m_source.Close(handle);
        if (opened.handle < 0 || !(opened.id == m_frames[d].id)) {
            // The tree changed under the walk: give the kept handles back.
            if (opened.handle >= 0)
                m_source.Close(opened.handle);
            for (std::size_t k = keepFrom; k < d; ++k)
                CloseFrame(m_frames[k]);
            return false;
        }
        handleKept = d >= keepFrom;
        if (handleKept) {
            m_frames[d].handle = opened.handle;
            ++m_openBelowRoot;
        }
        handle = opened.handle;
    }
    m_lowestOpen = keepFrom;
    return true;
}

// Closes a folder below the root whose listing is already in memory.
void CFolderWalk::CloseFrame(Frame& frame) {
    if (frame.handle >= 0) {
        m_source.Close(frame.handle);
        frame.handle = -1;
        --m_openBelowRoot;
    }
}

void CFolderWalk::CloseAll() {
    for (std::size_t d = 0; d < m_depth; ++d) {
        if (m_frames[d].handle >= 0) {
            m_source.Close(m_frames[d].handle);
            m_frames[d].handle = -1;
        }
    }
    m_depth = 0;
    m_openBelowRoot = 0;
    m_lowestOpen = 1;
}
