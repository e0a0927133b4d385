#include "folder_walk.h"

#include "open_folder_cache.h"
#include "ordered_appender.h"
#include "walk_control.h"
#include "walk_folder.h"
#include "walk_scheduler.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <new>
#include <unordered_set>
#include <vector>

namespace {

using Handle = IDirectorySource::Handle;
using OpenResult = IDirectorySource::OpenResult;

// Entries whose times one task reads; a bigger folder is shared out in chunks of this size.
constexpr std::size_t kChunkEntries = 2048;
// Time reads between two looks at the stop request.
constexpr std::size_t kReadsBetweenStopChecks = 256;

bool IsOutOfDescriptors(int error) {
    return error == EMFILE || error == ENFILE;
}

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const {
        return std::hash<std::uint64_t>{}(id.inode * 0x9e3779b97f4a7c15ULL ^ id.device);
    }
};

// One run of the walk: the tasks its threads do (open a folder, list it, read chunks of its
// times), tied to the cache of open folders, the scheduler and the ordered appender.
class CWalkRun final : private IReadyFolders {
public:
    CWalkRun(IDirectorySource& source, IStampSink& sink, ScanProblems& problems, const WalkLimits& limits,
             WalkControl* control)
        : m_source(source), m_screen(source.EntryScreen()), m_problems(problems),
          m_cache(source, static_cast<std::size_t>(std::max(limits.maxOpen, 1))),
          m_schedule(static_cast<std::size_t>(std::max(limits.foldersAhead, 1)),
                     control != nullptr ? &control->stopRequested : nullptr,
                     [this](const WalkTask& task) { RunTask(task); }),
          m_appender(sink, problems, control), m_workers(static_cast<std::size_t>(std::max(limits.jobs, 1) - 1)) {}

    bool Run(const std::string& path, const std::string& topName);

private:
    bool AwaitReady(const FolderPtr& folder) override { return m_schedule.AwaitReady(folder); }
    void Appended(WalkFolder& folder) override;
    void Shutdown(const FolderPtr& root);

    // The tasks.
    void RunTask(const WalkTask& task);
    void ListFolder(const FolderPtr& folder);
    std::size_t SortEntries(WalkFolder& folder);
    static std::vector<FolderPtr> Subfolders(const FolderPtr& folder);
    void ReadOwnChunks(const FolderPtr& folder);
    void ReadChunk(const FolderPtr& folder, std::size_t chunk);
    void ReadEntryTime(WalkFolder& folder, std::size_t entry);
    void Finish(WalkFolder& folder, const WalkLock& held);

    // Opening folders.
    bool OpenFolder(WalkFolder& folder);
    OpenResult OpenThroughParent(WalkFolder& folder);
    OpenResult AcquireHandle(WalkFolder& folder);
    bool CanCloseOutsideChain(const WalkFolder& folder, const WalkLock& held) const;
    OpenResult OpenChild(Handle parent, const char* name);
    bool IsOwnAncestor(const WalkFolder& parent, const FolderId& id, const WalkLock& held) const;
    std::vector<const char*> ScreenedFolders(const WalkFolder& folder) const;

    IDirectorySource& m_source;
    IEntryScreen* const m_screen; // what is left out of each listing, or null
    ScanProblems& m_problems;
    COpenFolderCache m_cache;
    CWalkScheduler m_schedule;
    COrderedAppender m_appender;
    const std::size_t m_workers;
    // Identities of the folders opened and not yet appended with all their subfolders; every
    // ancestor of a folder being opened is among them.
    std::unordered_multiset<FolderId, FolderIdHash> m_openIds;
    std::size_t m_descriptorWaiters = 0; // threads in OpenThroughParent waiting for a descriptor
};

bool CWalkRun::Run(const std::string& path, const std::string& topName) {
    const OpenResult opened = m_source.OpenRoot(path);
    if (opened.handle < 0) {
        m_problems.rootError = opened.error;
        return true;
    }
    const FolderPtr root = std::make_shared<WalkFolder>(nullptr, topName, 0);
    root->id = opened.id;
    {
        const WalkLock lock(m_schedule.Mutex());
        m_cache.Opened(root->open, opened.handle, lock);
        m_openIds.insert(root->id);
    }
    bool complete = false;
    try {
        m_schedule.StartWorkers(m_workers);
        complete = m_appender.Append(root, *this);
    } catch (...) {
        Shutdown(root);
        throw;
    }
    Shutdown(root);
    if (m_schedule.Failed())
        throw std::bad_alloc();
    return complete;
}

// Ends the threads, closes every folder still open and lets go of the tree.
void CWalkRun::Shutdown(const FolderPtr& root) {
    m_schedule.StopWorkers();
    m_cache.CloseAll(WalkLock(m_schedule.Mutex()));
    // Subfolder slots and ancestor pointers form cycles until the slots are emptied.
    std::vector<FolderPtr> pending{root};
    while (!pending.empty()) {
        FolderPtr folder = std::move(pending.back());
        pending.pop_back();
        for (FolderPtr& child : folder->children)
            pending.push_back(std::move(child));
        folder->children.clear();
    }
}

// The folder's records are appended: its memory goes, and a thread may read further ahead.
void CWalkRun::Appended(WalkFolder& folder) {
    CFolderListing listing;
    std::vector<Outcome> outcomes;
    std::vector<std::int64_t> times;
    std::vector<FolderPtr> children;
    const WalkLock lock(m_schedule.Mutex());
    std::swap(listing, folder.listing);
    outcomes.swap(folder.outcomes);
    times.swap(folder.times);
    children.swap(folder.children);
    if (const auto id = m_openIds.find(folder.id); folder.openError == 0 && !folder.loop && id != m_openIds.end())
        m_openIds.erase(id);
    m_schedule.Appended(lock);
}

void CWalkRun::RunTask(const WalkTask& task) {
    if (task.chunk == WalkTask::kListing)
        ListFolder(task.folder);
    else
        ReadChunk(task.folder, task.chunk);
}

void CWalkRun::ListFolder(const FolderPtr& folderPtr) {
    WalkFolder& folder = *folderPtr;
    if (m_schedule.Stopping())
        return;
    if (folder.open.Handle() < 0 && !OpenFolder(folder)) {
        const WalkLock lock(m_schedule.Mutex());
        m_schedule.PublishChildren(folder, {}, lock);
        m_schedule.Ready(folder, lock);
        return;
    }
    folder.listError = m_source.List(folder.open.Handle(), folder.listing);
    if (m_screen != nullptr)
        m_screen->Screen(ScreenedFolders(folder), folder.listing);
    const std::size_t chunks = SortEntries(folder);
    std::vector<FolderPtr> children;
    if (folder.kindsKnown)
        children = Subfolders(folderPtr);
    {
        const WalkLock lock(m_schedule.Mutex());
        if (folder.kindsKnown)
            m_schedule.PublishChildren(folder, std::move(children), lock);
        folder.chunkCount = chunks;
        if (chunks > 1)
            m_schedule.PublishChunks(folderPtr, lock);
        if (chunks == 0)
            Finish(folder, lock);
    }
    ReadOwnChunks(folderPtr);
}

// Marks what the listing alone tells about each entry; returns the number of chunks of time
// reads the folder needs.
std::size_t CWalkRun::SortEntries(WalkFolder& folder) {
    const std::size_t count = folder.listing.size();
    folder.outcomes.assign(count, Outcome::Skip);
    folder.times.assign(count, 0);
    bool anyTimes = false;
    for (std::size_t i = 0; i < count; ++i) {
        switch (folder.listing.Kind(i)) {
        case EntryKind::Folder:
            folder.outcomes[i] = Outcome::Descend;
            break;
        case EntryKind::Unknown: // only the time read tells whether it is a folder
            folder.kindsKnown = false;
            anyTimes = true;
            break;
        case EntryKind::Other:
            anyTimes = true;
            break;
        }
    }
    return anyTimes ? (count + kChunkEntries - 1) / kChunkEntries : 0;
}

// Slots for the folder's subfolders, in listing order.
std::vector<FolderPtr> CWalkRun::Subfolders(const FolderPtr& folder) {
    std::vector<FolderPtr> children;
    for (std::size_t i = 0; i < folder->outcomes.size(); ++i)
        if (folder->outcomes[i] == Outcome::Descend)
            children.push_back(std::make_shared<WalkFolder>(folder, folder->listing.Name(i), folder->depth + 1));
    return children;
}

// This thread reads chunks of its own folder until none are left to take.
void CWalkRun::ReadOwnChunks(const FolderPtr& folder) {
    for (;;) {
        std::size_t chunk = 0;
        {
            const WalkLock lock(m_schedule.Mutex());
            if (!CWalkScheduler::TakeOwnChunk(*folder, chunk, lock))
                return;
        }
        ReadChunk(folder, chunk);
    }
}

void CWalkRun::ReadChunk(const FolderPtr& folderPtr, std::size_t chunk) {
    WalkFolder& folder = *folderPtr;
    const std::size_t end = std::min(folder.listing.size(), (chunk + 1) * kChunkEntries);
    for (std::size_t i = chunk * kChunkEntries; i < end; ++i) {
        if ((i - chunk * kChunkEntries) % kReadsBetweenStopChecks == 0 && m_schedule.Stopping())
            break;
        if (folder.listing.Kind(i) != EntryKind::Folder)
            ReadEntryTime(folder, i);
    }
    {
        const WalkLock lock(m_schedule.Mutex());
        if (++folder.chunksDone < folder.chunkCount || folder.kindsKnown) {
            if (folder.chunksDone == folder.chunkCount)
                Finish(folder, lock);
            return;
        }
    }
    // The last chunk of a folder whose listing did not tell the kinds: now its subfolders are known.
    std::vector<FolderPtr> children = Subfolders(folderPtr);
    const WalkLock lock(m_schedule.Mutex());
    m_schedule.PublishChildren(folder, std::move(children), lock);
    Finish(folder, lock);
}

void CWalkRun::ReadEntryTime(WalkFolder& folder, std::size_t entry) {
    const EntryTime time = m_source.ReadTime(folder.open.Handle(), folder.listing.Name(entry));
    if (time.error == 0) {
        // A folder only counts as one when the listing could not tell; an entry listed as
        // something else that has since become a folder is left out.
        if (!time.folder)
            folder.outcomes[entry] = Outcome::Record;
        else if (folder.listing.Kind(entry) == EntryKind::Unknown &&
                 !(m_screen != nullptr &&
                   m_screen->LeavesOutFolder(ScreenedFolders(folder), folder.listing.Name(entry))))
            folder.outcomes[entry] = Outcome::Descend;
        folder.times[entry] = time.lastWrite;
    } else if (time.error != ENOENT) { // a vanished entry is simply not there
        int none = 0;
        folder.timeError.compare_exchange_strong(none, time.error, std::memory_order_relaxed);
    }
}

// Every time of the folder is read: it stays open only for subfolders still to be opened.
void CWalkRun::Finish(WalkFolder& folder, const WalkLock& held) {
    if (folder.depth > 0) {
        if (folder.unopenedChildren > 0)
            m_cache.Keep(folder.open, held);
        else
            m_cache.Release(folder.open, held);
    }
    m_schedule.Ready(folder, held);
}

// Opens a folder below the chosen one through its parent; false when it cannot be entered.
bool CWalkRun::OpenFolder(WalkFolder& folder) {
    WalkFolder& parent = *folder.parent;
    const OpenResult opened = OpenThroughParent(folder);
    {
        const WalkLock lock(m_schedule.Mutex());
        if (--parent.unopenedChildren == 0 && parent.state == WalkFolder::State::Ready && parent.depth > 0)
            m_cache.Release(parent.open, lock);
        if (opened.handle >= 0 && !IsOwnAncestor(parent, opened.id, lock)) {
            folder.id = opened.id;
            m_openIds.insert(folder.id);
            m_cache.Opened(folder.open, opened.handle, lock);
            return true;
        }
    }
    if (opened.handle >= 0) {
        m_source.Close(opened.handle);
        folder.loop = true;
    } else {
        folder.openError = opened.error;
    }
    return false;
}

// Opens the folder through its parent's handle, waiting for a descriptor to come free when the
// process has none left and another thread of the walk may still give one back.
OpenResult CWalkRun::OpenThroughParent(WalkFolder& folder) {
    WalkFolder& parent = *folder.parent;
    // Bounds the tries after closing another kept folder, so that threads that keep closing
    // each other's folders still come to an end.
    constexpr int kMostRetries = 64;
    for (int retries = 0;;) {
        OpenResult opened = AcquireHandle(parent);
        if (opened.handle >= 0) {
            opened = OpenChild(opened.handle, folder.name.c_str());
            const WalkLock lock(m_schedule.Mutex());
            m_cache.Unpin(parent.open, lock);
        }
        if (opened.handle >= 0 || !IsOutOfDescriptors(opened.error))
            return opened;
        WalkLock lock(m_schedule.Mutex());
        // Another thread may have left a kept folder closable since the open failed: try again,
        // and the open closes it.
        if (retries < kMostRetries && CanCloseOutsideChain(folder, lock)) {
            ++retries;
            continue;
        }
        // Only a thread at work can give a descriptor back: one reading a folder it holds open, or
        // opening one. When all the others are idle or waiting too, none will come free.
        if (m_schedule.Stopping() || m_schedule.BusyThreads(lock) <= m_descriptorWaiters + 1)
            return opened;
        ++m_descriptorWaiters;
        m_cache.AwaitClose(lock);
        --m_descriptorWaiters;
    }
}

// The folder's handle, pinned so that it stays open until unpinned; opened again by name from
// the nearest open ancestor if it was closed. The chosen folder stays open throughout.
OpenResult CWalkRun::AcquireHandle(WalkFolder& folder) {
    std::vector<WalkFolder*> closed; // from folder up to below the nearest open ancestor
    WalkFolder* holder = &folder;
    {
        const WalkLock lock(m_schedule.Mutex());
        for (; holder->open.Handle() < 0; holder = holder->parent.get())
            closed.push_back(holder);
        m_cache.Pin(holder->open, lock);
    }
    for (std::size_t k = closed.size(); k-- > 0;) {
        WalkFolder& next = *closed[k];
        const OpenResult opened = OpenChild(holder->open.Handle(), next.name.c_str());
        const WalkLock lock(m_schedule.Mutex());
        m_cache.Unpin(holder->open, lock);
        if (opened.handle < 0 || !(opened.id == next.id)) { // the tree changed under the walk
            if (opened.handle >= 0)
                m_source.Close(opened.handle);
            return {-1, opened.handle < 0 ? opened.error : ENOENT, {}};
        }
        m_cache.Pin(next.open, lock);
        if (next.open.Handle() >= 0)
            m_source.Close(opened.handle); // another thread opened it meanwhile
        else
            m_cache.Reopened(next.open, opened.handle, next.unopenedChildren > 0, lock);
        holder = &next;
    }
    return {holder->open.Handle(), 0, holder->id};
}

// Whether a kept folder could be closed now that is not one of the folder's ancestors, which
// opening it needs again.
bool CWalkRun::CanCloseOutsideChain(const WalkFolder& folder, const WalkLock& held) const {
    std::size_t ownClosable = 0;
    for (const WalkFolder* up = folder.parent.get(); up != nullptr; up = up->parent.get())
        if (COpenFolderCache::IsClosable(up->open, held))
            ++ownClosable;
    return m_cache.ClosableCount(held) > ownClosable;
}

// Opens a subfolder, closing kept folders while the process is out of descriptors.
OpenResult CWalkRun::OpenChild(Handle parent, const char* name) {
    for (;;) {
        const OpenResult opened = m_source.OpenChild(parent, name);
        if (opened.handle >= 0 || !IsOutOfDescriptors(opened.error))
            return opened;
        const WalkLock lock(m_schedule.Mutex());
        if (!m_cache.CloseShallowestKept(lock))
            return opened;
    }
}

// Whether a folder with this identity is among the parent's ancestors or the parent itself.
bool CWalkRun::IsOwnAncestor(const WalkFolder& parent, const FolderId& id, const WalkLock&) const {
    if (m_openIds.count(id) == 0)
        return false; // the common case, whatever the depth
    for (const WalkFolder* ancestor = &parent; ancestor != nullptr; ancestor = ancestor->parent.get())
        if (ancestor->id == id)
            return true;
    return false;
}

// The names of the folders from below the chosen one down to folder, when the screen needs them.
std::vector<const char*> CWalkRun::ScreenedFolders(const WalkFolder& folder) const {
    if (!m_screen->NeedsFolders())
        return {};
    std::vector<const char*> names(folder.depth);
    for (const WalkFolder* up = &folder; up->depth > 0; up = up->parent.get())
        names[up->depth - 1] = up->name.c_str();
    return names;
}

} // namespace

CFolderWalk::CFolderWalk(IDirectorySource& source, IStampSink& sink, ScanProblems& problems,
                         WalkLimits limits, WalkControl* control)
    : m_source(source), m_sink(sink), m_problems(problems), m_limits(limits), m_control(control) {}

bool CFolderWalk::Run(const std::string& path, const std::string& topName) {
    CWalkRun run(m_source, m_sink, m_problems, m_limits, m_control);
    return run.Run(path, topName);
}
