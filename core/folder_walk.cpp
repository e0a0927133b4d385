#include "folder_walk.h"

#include "folder_walk_opener.h"
#include "ordered_appender.h"
#include "walk_control.h"
#include "walk_folder.h"
#include "walk_scheduler.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <tuple>
#include <vector>

namespace {

// Entries whose times one task reads; a bigger folder is shared out in chunks of this size.
constexpr std::size_t kChunkEntries = 2048;
// Time reads between two looks at the stop request.
constexpr std::size_t kReadsBetweenStopChecks = 256;

// One run of the walk: the tasks its threads do (open a folder, list it, read chunks of its
// times), tied to the opener of folders, the scheduler and the ordered appender.
class CWalkRun final : private IReadyFolders {
public:
    CWalkRun(IDirectorySource& source, IStampSink& sink, ScanProblems& problems, const WalkLimits& limits,
             WalkControl* control)
        : m_source(source), m_screen(source.EntryScreen()), m_problems(problems),
          m_budget(ShareDescriptors(source.HandlesLeft(), static_cast<std::size_t>(std::max(limits.jobs, 1)),
                                    static_cast<std::size_t>(std::max(limits.maxOpen, 1)))),
          m_schedule(control != nullptr ? &control->stopRequested : nullptr,
                     [this](const WalkTask& task) { RunTask(task); }),
          m_opener(source, m_schedule.Mutex(), m_budget.kept), m_appender(sink, problems, control) {}

    bool Run(const std::string& path, const std::string& topName) {
        const FolderPtr root = std::make_shared<WalkFolder>(nullptr, topName, 0);
        if (const int error = m_opener.OpenRoot(path, *root); error != 0) {
            m_problems.rootError = error;
            return true;
        }
        bool complete = false;
        try {
            m_schedule.StartWorkers(m_budget.threads - 1);
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

private:
    bool AwaitReady(const FolderPtr& folder) override { return m_schedule.AwaitReady(folder); }

    // The folder's records are appended: its memory goes, and a thread may read further ahead.
    void Appended(WalkFolder& folder) override {
        WalkLock lock(m_schedule.Mutex());
        const auto freed = std::make_tuple(std::move(folder.listing), std::move(folder.outcomes),
                                           std::move(folder.times), std::move(folder.children));
        m_opener.Appended(folder, lock);
        m_schedule.Appended(lock);
        lock.unlock(); // before the memory goes
    }

    // Ends the threads, closes every folder still open and lets go of the tree.
    void Shutdown(const FolderPtr& root) {
        m_schedule.StopWorkers();
        m_opener.CloseAll(WalkLock(m_schedule.Mutex()));
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

    // The tasks.
    void RunTask(const WalkTask& task) {
        if (task.chunk == WalkTask::kListing)
            ListFolder(task.folder);
        else
            ReadChunk(task.folder, task.chunk);
    }

    void ListFolder(const FolderPtr& folderPtr) {
        WalkFolder& folder = *folderPtr;
        if (m_schedule.Stopping())
            return;
        if (folder.open.Handle() < 0 && !m_opener.Open(folder)) {
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
    std::size_t SortEntries(WalkFolder& folder) {
        const std::size_t count = folder.listing.size();
        folder.outcomes.assign(count, Outcome::Skip);
        folder.times.assign(count, 0);
        bool anyTimes = false;
        for (std::size_t i = 0; i < count; ++i) {
            const EntryKind kind = folder.listing.Kind(i);
            if (kind == EntryKind::Folder)
                folder.outcomes[i] = Outcome::Descend;
            else
                anyTimes = true;
            if (kind == EntryKind::Unknown) // only the time read tells whether it is a folder
                folder.kindsKnown = false;
        }
        return anyTimes ? (count + kChunkEntries - 1) / kChunkEntries : 0;
    }

    // Slots for the folder's subfolders, in listing order.
    static std::vector<FolderPtr> Subfolders(const FolderPtr& folder) {
        std::vector<FolderPtr> children;
        for (std::size_t i = 0; i < folder->outcomes.size(); ++i)
            if (folder->outcomes[i] == Outcome::Descend)
                children.push_back(
                    std::make_shared<WalkFolder>(folder, folder->listing.Name(i), folder->depth + 1));
        return children;
    }

    // This thread reads chunks of its own folder until none are left to take.
    void ReadOwnChunks(const FolderPtr& folder) {
        std::size_t chunk = 0;
        while (CWalkScheduler::TakeOwnChunk(*folder, chunk, WalkLock(m_schedule.Mutex())))
            ReadChunk(folder, chunk);
    }

    void ReadChunk(const FolderPtr& folderPtr, std::size_t chunk) {
        WalkFolder& folder = *folderPtr;
        const std::size_t end = std::min(folder.listing.size(), (chunk + 1) * kChunkEntries);
        for (std::size_t i = chunk * kChunkEntries; i < end; ++i) {
            if ((i - chunk * kChunkEntries) % kReadsBetweenStopChecks == 0 && m_schedule.Stopping())
                break;
            if (folder.listing.Kind(i) != EntryKind::Folder)
                ReadEntryTime(folder, i);
        }
        WalkLock lock(m_schedule.Mutex());
        if (++folder.chunksDone < folder.chunkCount)
            return;
        // The last chunk of a folder whose listing did not tell the kinds: now its subfolders are known.
        if (!folder.kindsKnown) {
            lock.unlock();
            std::vector<FolderPtr> children = Subfolders(folderPtr);
            lock.lock();
            m_schedule.PublishChildren(folder, std::move(children), lock);
        }
        Finish(folder, lock);
    }

    void ReadEntryTime(WalkFolder& folder, std::size_t entry) {
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

    void Finish(WalkFolder& folder, const WalkLock& held) {
        m_opener.Read(folder, held);
        m_schedule.Ready(folder, held);
    }

    // The names of the folders from below the chosen one down to folder, when the screen needs them.
    std::vector<const char*> ScreenedFolders(const WalkFolder& folder) const {
        if (!m_screen->NeedsFolders())
            return {};
        std::vector<const char*> names(folder.depth);
        for (const WalkFolder* up = &folder; up->depth > 0; up = up->parent.get())
            names[up->depth - 1] = up->name.c_str();
        return names;
    }

    IDirectorySource& m_source;
    IEntryScreen* const m_screen; // what is left out of each listing, or null
    ScanProblems& m_problems;
    const DescriptorBudget m_budget;
    CWalkScheduler m_schedule;
    CFolderWalkOpener m_opener;
    COrderedAppender m_appender;
};

} // namespace

bool WalkFolderTree(IDirectorySource& source, IStampSink& sink, ScanProblems& problems,
                    const std::string& path, const std::string& topName, WalkLimits limits,
                    WalkControl* control) {
    return CWalkRun(source, sink, problems, limits, control).Run(path, topName);
}
