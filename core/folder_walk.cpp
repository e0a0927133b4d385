#include "folder_walk.h"

#include "walk_control.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <queue>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using Handle = IDirectorySource::Handle;

// Entries whose times one task reads; a bigger folder is shared out in chunks of this size.
constexpr std::size_t kChunkEntries = 2048;

bool IsOutOfDescriptors(int error) {
    return error == EMFILE || error == ENFILE;
}

// What the walk does with one listed entry.
enum class Outcome : std::uint8_t { Skip, Record, Descend };

// One folder of the tree: its task's results and its place in the walk order.
struct Folder {
    // Set before any other thread sees the folder; fixed afterwards.
    std::shared_ptr<Folder> parent; // the ancestor chain, for the loop guard and for reopening
    std::string name;
    std::size_t depth = 0;
    std::size_t index = 0; // among the parent's subfolders, in listing order
    IStampSink::FolderIndex sinkIndex = IStampSink::kNoFolder; // given when its records are appended

    // Guarded by the walk's mutex.
    enum class State { Waiting, Taken, Ready } state = State::Waiting;
    Handle handle = -1;
    int handleUsers = 0;              // threads opening subfolders through handle right now
    std::size_t unopenedChildren = 0; // subfolders that will still need handle
    bool parked = false;              // open only for the sake of unopened subfolders
    std::size_t nextChunk = 0;
    std::size_t chunkCount = 0;
    std::size_t chunksDone = 0;
    Folder* openPrevious = nullptr; // the list of folders holding a handle
    Folder* openNext = nullptr;

    // Written by the folder's own tasks, read by the appending thread once Ready.
    FolderId id;
    int openError = 0;
    bool loop = false;
    int listError = 0;
    std::atomic<int> timeError{0}; // the first failed time read other than a vanished entry
    CFolderListing listing;
    std::vector<Outcome> outcomes; // per listed entry
    std::vector<std::int64_t> times;
    std::vector<std::shared_ptr<Folder>> children; // subfolder slots in listing order

    ~Folder() {
        // Lets go of a long ancestor chain without one nested destructor call per level.
        std::shared_ptr<Folder> ancestor = std::move(parent);
        while (ancestor && ancestor.use_count() == 1)
            ancestor = std::move(ancestor->parent);
    }
};

using FolderPtr = std::shared_ptr<Folder>;

// "a/b" for a folder two levels below the chosen one, from its ancestor chain.
std::string RelativeFolderPath(const Folder& folder) {
    std::string path = folder.name;
    for (const Folder* up = folder.parent.get(); up != nullptr && up->depth > 0; up = up->parent.get())
        path = up->name + '/' + path;
    return path;
}

// Whether a comes before b in the walk order (depth first, each folder in listing order).
bool Before(const Folder* a, const Folder* b) {
    while (a->depth > b->depth) {
        a = a->parent.get();
        if (a == b)
            return false; // b is an ancestor of a
    }
    while (b->depth > a->depth) {
        b = b->parent.get();
        if (a == b)
            return true;
    }
    while (a->parent != b->parent) {
        a = a->parent.get();
        b = b->parent.get();
    }
    return a->index < b->index;
}

struct LaterInWalk {
    bool operator()(const FolderPtr& a, const FolderPtr& b) const { return Before(b.get(), a.get()); }
};

class CWalkRun {
public:
    CWalkRun(IDirectorySource& source, IStampSink& sink, ScanProblems& problems, const WalkLimits& limits,
             WalkControl* control)
        : m_source(source), m_sink(sink), m_problems(problems), m_control(control),
          m_maxOpen(static_cast<std::size_t>(std::max(limits.maxOpen, 1))),
          m_foldersAhead(static_cast<std::size_t>(std::max(limits.foldersAhead, 1))),
          m_workers(static_cast<std::size_t>(std::max(limits.jobs, 1) - 1)) {}

    bool Run(const std::string& path);

private:
    using Lock = std::unique_lock<std::mutex>;

    bool Stopping() const {
        return m_failed.load(std::memory_order_relaxed) ||
               (m_control != nullptr && m_control->stopRequested.load(std::memory_order_relaxed));
    }

    // The threads that read ahead.
    void StartWorkers(std::size_t count);
    void Work();
    void Shutdown(const FolderPtr& root);

    // Tasks: a folder (open, list, plan its chunks) and a chunk of its time reads.
    void ListFolder(const FolderPtr& folder);
    void ReadChunk(Folder& folder, std::size_t chunk);
    void ReadEntryTime(Folder& folder, std::size_t entry);
    FolderPtr TakeNextFolder(Lock& lock);
    bool TakeAnyChunk(FolderPtr& folder, std::size_t& chunk);
    void Finish(Folder& folder);

    // Descriptors.
    bool OpenFolder(Folder& folder);
    IDirectorySource::OpenResult AcquireHandle(Folder& folder);
    void Unpin(Folder& folder);
    IDirectorySource::OpenResult OpenChildFreeingDescriptors(Handle parent, const char* name);
    void Adopt(Folder& folder, Handle handle);
    void AddOpen(Folder& folder, Handle handle);
    void Park(Folder& folder);
    void CloseParkedBeyondBudget();
    bool CloseShallowestParked();
    void CloseLocked(Folder& folder);
    void ReleaseWhenUnused(Folder& folder);

    // The appending side.
    bool Append(const FolderPtr& root);
    bool WaitUntilReady(const FolderPtr& folder);
    void Account(const Folder& folder);
    void PublishProgress();
    void Done(Folder& folder);

    IDirectorySource& m_source;
    IStampSink& m_sink;
    ScanProblems& m_problems;
    WalkControl* m_control;
    const std::size_t m_maxOpen;
    const std::size_t m_foldersAhead;
    const std::size_t m_workers;

    std::mutex m_mutex;
    std::condition_variable m_workToDo; // a folder or chunk can be taken, or the walk ends
    std::condition_variable m_folderReady;
    std::priority_queue<FolderPtr, std::vector<FolderPtr>, LaterInWalk> m_waiting;
    std::deque<FolderPtr> m_chunked; // folders with chunks left to take
    std::size_t m_inFlight = 0;      // folders taken and not yet appended
    std::size_t m_parked = 0;
    Folder* m_open = nullptr; // every folder holding a handle
    bool m_done = false;
    std::atomic<bool> m_failed{false};
    std::vector<std::thread> m_threads;
    std::int64_t m_foldersListed = 0;
    std::int64_t m_filesAppended = 0;
};

bool CWalkRun::Run(const std::string& path) {
    const IDirectorySource::OpenResult opened = m_source.OpenRoot(path);
    if (opened.handle < 0) {
        m_problems.rootError = opened.error;
        return true;
    }
    const FolderPtr root = std::make_shared<Folder>();
    root->id = opened.id;
    Adopt(*root, opened.handle);
    bool complete = false;
    try {
        StartWorkers(m_workers);
        complete = Append(root);
    } catch (...) {
        Shutdown(root);
        throw;
    }
    Shutdown(root);
    if (m_failed)
        throw std::bad_alloc();
    return complete;
}

void CWalkRun::StartWorkers(std::size_t count) {
    m_threads.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        try {
            m_threads.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // fewer threads, the same walk
        }
    }
}

void CWalkRun::Work() {
    Lock lock(m_mutex);
    while (!m_done) {
        try {
            FolderPtr folder;
            std::size_t chunk = 0;
            if (TakeAnyChunk(folder, chunk)) {
                lock.unlock();
                ReadChunk(*folder, chunk);
            } else if ((folder = TakeNextFolder(lock))) {
                lock.unlock();
                ListFolder(folder);
            } else {
                m_workToDo.wait(lock);
                continue;
            }
        } catch (const std::bad_alloc&) {
            m_failed = true; // the appending thread sees it and ends the walk
        }
        if (!lock.owns_lock())
            lock.lock();
        m_folderReady.notify_all();
    }
}

// Ends the threads, closes every folder still open and lets go of the tree.
void CWalkRun::Shutdown(const FolderPtr& root) {
    {
        const Lock lock(m_mutex);
        m_done = true;
    }
    m_workToDo.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
    while (m_open != nullptr)
        CloseLocked(*m_open);
    // Subfolder slots and ancestor pointers form cycles until the slots are emptied.
    std::vector<FolderPtr> pending{root};
    while (!m_waiting.empty()) {
        pending.push_back(m_waiting.top());
        m_waiting.pop();
    }
    m_chunked.clear();
    while (!pending.empty()) {
        FolderPtr folder = std::move(pending.back());
        pending.pop_back();
        for (FolderPtr& child : folder->children)
            pending.push_back(std::move(child));
        folder->children.clear();
    }
}

FolderPtr CWalkRun::TakeNextFolder(Lock&) {
    while (!m_waiting.empty() && m_waiting.top()->state != Folder::State::Waiting)
        m_waiting.pop(); // taken directly by the appending thread
    if (m_waiting.empty() || m_inFlight >= m_foldersAhead)
        return nullptr;
    FolderPtr folder = m_waiting.top();
    m_waiting.pop();
    folder->state = Folder::State::Taken;
    ++m_inFlight;
    return folder;
}

bool CWalkRun::TakeAnyChunk(FolderPtr& folder, std::size_t& chunk) {
    while (!m_chunked.empty()) {
        Folder& front = *m_chunked.front();
        if (front.nextChunk < front.chunkCount) {
            folder = m_chunked.front();
            chunk = front.nextChunk++;
            return true;
        }
        m_chunked.pop_front();
    }
    return false;
}

void CWalkRun::ListFolder(const FolderPtr& folderPtr) {
    Folder& folder = *folderPtr;
    if (Stopping())
        return;
    if (folder.handle < 0 && !OpenFolder(folder)) {
        const Lock lock(m_mutex);
        folder.state = Folder::State::Ready;
        m_folderReady.notify_all();
        return;
    }
    folder.listError = m_source.List(folder.handle, folder.listing);
    const std::size_t count = folder.listing.size();
    folder.outcomes.assign(count, Outcome::Skip);
    folder.times.assign(count, 0);
    bool anyTimes = false;
    std::vector<FolderPtr> children;
    for (std::size_t i = 0; i < count; ++i) {
        switch (folder.listing.Kind(i)) {
        case EntryKind::Folder:
            folder.outcomes[i] = Outcome::Descend;
            break;
        case EntryKind::Unknown:
            ReadEntryTime(folder, i); // only the time read tells whether it is a folder
            break;
        case EntryKind::Other:
            anyTimes = true;
            break;
        }
        if (folder.outcomes[i] == Outcome::Descend) {
            auto child = std::make_shared<Folder>();
            child->parent = folderPtr;
            child->name = folder.listing.Name(i);
            child->depth = folder.depth + 1;
            child->index = children.size();
            children.push_back(std::move(child));
        }
    }
    {
        const Lock lock(m_mutex);
        folder.unopenedChildren = children.size();
        for (const FolderPtr& child : children)
            m_waiting.push(child);
        folder.children = std::move(children);
        folder.chunkCount = anyTimes ? (count + kChunkEntries - 1) / kChunkEntries : 0;
        if (folder.chunkCount > 1)
            m_chunked.push_back(folderPtr);
        if (folder.chunkCount == 0)
            Finish(folder);
    }
    m_workToDo.notify_all();
    // This thread reads chunks of its own folder until none are left to take.
    for (;;) {
        std::size_t chunk = 0;
        {
            const Lock lock(m_mutex);
            if (folder.nextChunk >= folder.chunkCount)
                return;
            chunk = folder.nextChunk++;
        }
        ReadChunk(folder, chunk);
    }
}

void CWalkRun::ReadChunk(Folder& folder, std::size_t chunk) {
    if (!Stopping()) {
        const std::size_t end = std::min(folder.listing.size(), (chunk + 1) * kChunkEntries);
        for (std::size_t i = chunk * kChunkEntries; i < end; ++i)
            if (folder.listing.Kind(i) == EntryKind::Other)
                ReadEntryTime(folder, i);
    }
    const Lock lock(m_mutex);
    if (++folder.chunksDone == folder.chunkCount)
        Finish(folder);
}

void CWalkRun::ReadEntryTime(Folder& folder, std::size_t entry) {
    const EntryTime time = m_source.ReadTime(folder.handle, folder.listing.Name(entry));
    if (time.error == 0) {
        // A folder only counts as one when the listing could not tell; an entry listed as
        // something else that has since become a folder is left out.
        if (!time.folder)
            folder.outcomes[entry] = Outcome::Record;
        else if (folder.listing.Kind(entry) == EntryKind::Unknown)
            folder.outcomes[entry] = Outcome::Descend;
        folder.times[entry] = time.lastWrite;
    } else if (time.error != ENOENT) { // a vanished entry is simply not there
        int none = 0;
        folder.timeError.compare_exchange_strong(none, time.error, std::memory_order_relaxed);
    }
}

// Called with the mutex held once every time of the folder is read.
void CWalkRun::Finish(Folder& folder) {
    folder.state = Folder::State::Ready;
    if (folder.unopenedChildren > 0 && folder.depth > 0 && folder.handle >= 0)
        Park(folder);
    else
        ReleaseWhenUnused(folder); // unless another thread is opening a deeper folder through it
    m_folderReady.notify_all();
}

// Opens a folder below the chosen one through its parent; false when it cannot be entered.
bool CWalkRun::OpenFolder(Folder& folder) {
    Folder& parent = *folder.parent;
    IDirectorySource::OpenResult opened = AcquireHandle(parent);
    const bool pinned = opened.handle >= 0;
    if (pinned)
        opened = OpenChildFreeingDescriptors(opened.handle, folder.name.c_str());
    {
        const Lock lock(m_mutex);
        if (pinned)
            --parent.handleUsers;
        --parent.unopenedChildren;
        ReleaseWhenUnused(parent);
    }
    if (opened.handle < 0) {
        folder.openError = opened.error;
        return false;
    }
    for (const Folder* ancestor = &parent; ancestor != nullptr; ancestor = ancestor->parent.get()) {
        if (ancestor->id == opened.id) {
            m_source.Close(opened.handle);
            folder.loop = true;
            return false;
        }
    }
    folder.id = opened.id;
    Adopt(folder, opened.handle);
    return true;
}

// The folder's handle, pinned so that it stays open until Unpin; opened again by name from
// the nearest open ancestor if it was closed. The chosen folder stays open throughout.
IDirectorySource::OpenResult CWalkRun::AcquireHandle(Folder& folder) {
    std::vector<Folder*> closed; // from folder up to below the nearest open ancestor
    Folder* holder = &folder;
    {
        const Lock lock(m_mutex);
        for (; holder->handle < 0; holder = holder->parent.get())
            closed.push_back(holder);
        ++holder->handleUsers;
    }
    for (std::size_t k = closed.size(); k-- > 0;) {
        Folder& next = *closed[k];
        const IDirectorySource::OpenResult opened =
            OpenChildFreeingDescriptors(holder->handle, next.name.c_str());
        Unpin(*holder);
        if (opened.handle < 0 || !(opened.id == next.id)) { // the tree changed under the walk
            if (opened.handle >= 0)
                m_source.Close(opened.handle);
            return {-1, opened.handle < 0 ? opened.error : ENOENT, {}};
        }
        const Lock lock(m_mutex);
        ++next.handleUsers; // before parking, which may close folders nobody is using
        if (next.handle >= 0) {
            m_source.Close(opened.handle); // another thread opened it meanwhile
        } else {
            AddOpen(next, opened.handle);
            if (next.unopenedChildren > 0)
                Park(next);
        }
        holder = &next;
    }
    return {holder->handle, 0, holder->id};
}

void CWalkRun::Unpin(Folder& folder) {
    const Lock lock(m_mutex);
    --folder.handleUsers;
    ReleaseWhenUnused(folder);
}

// Called with the mutex held: closes a finished folder that no subfolder needs any more.
void CWalkRun::ReleaseWhenUnused(Folder& folder) {
    if (folder.handleUsers == 0 && folder.depth > 0 && folder.state == Folder::State::Ready &&
        folder.unopenedChildren == 0 && folder.handle >= 0)
        CloseLocked(folder);
    CloseParkedBeyondBudget();
}

// Opens a subfolder, closing parked folders while the process is out of descriptors.
IDirectorySource::OpenResult CWalkRun::OpenChildFreeingDescriptors(Handle parent, const char* name) {
    for (;;) {
        const IDirectorySource::OpenResult opened = m_source.OpenChild(parent, name);
        if (opened.handle >= 0 || !IsOutOfDescriptors(opened.error))
            return opened;
        const Lock lock(m_mutex);
        if (!CloseShallowestParked())
            return opened;
    }
}

void CWalkRun::Adopt(Folder& folder, Handle handle) {
    const Lock lock(m_mutex);
    AddOpen(folder, handle);
}

// Called with the mutex held.
void CWalkRun::AddOpen(Folder& folder, Handle handle) {
    folder.handle = handle;
    folder.openNext = m_open;
    if (m_open != nullptr)
        m_open->openPrevious = &folder;
    m_open = &folder;
}

// Called with the mutex held.
void CWalkRun::Park(Folder& folder) {
    if (!folder.parked) {
        folder.parked = true;
        ++m_parked;
    }
    CloseParkedBeyondBudget();
}

// Called with the mutex held.
void CWalkRun::CloseParkedBeyondBudget() {
    while (m_parked > m_maxOpen && CloseShallowestParked()) {
    }
}

// Called with the mutex held.
bool CWalkRun::CloseShallowestParked() {
    Folder* shallowest = nullptr;
    for (Folder* open = m_open; open != nullptr; open = open->openNext)
        if (open->parked && open->handleUsers == 0 &&
            (shallowest == nullptr || open->depth < shallowest->depth))
            shallowest = open;
    if (shallowest == nullptr)
        return false;
    CloseLocked(*shallowest);
    return true;
}

// Called with the mutex held (or once every other thread has ended).
void CWalkRun::CloseLocked(Folder& folder) {
    m_source.Close(folder.handle);
    folder.handle = -1;
    if (folder.parked) {
        folder.parked = false;
        --m_parked;
    }
    if (folder.openPrevious != nullptr)
        folder.openPrevious->openNext = folder.openNext;
    else
        m_open = folder.openNext;
    if (folder.openNext != nullptr)
        folder.openNext->openPrevious = folder.openPrevious;
    folder.openPrevious = folder.openNext = nullptr;
}

// Appends the records folder by folder in walk order; false when stopped.
bool CWalkRun::Append(const FolderPtr& root) {
    struct Frame {
        FolderPtr folder;
        std::size_t entry = 0;
        std::size_t child = 0;
    };
    std::vector<Frame> path;
    path.push_back({root});
    bool entering = true;
    while (!path.empty()) {
        if (entering) {
            if (!WaitUntilReady(path.back().folder))
                return false;
            Folder& entered = *path.back().folder;
            entered.sinkIndex = m_sink.AddFolder(entered.parent ? entered.parent->sinkIndex : IStampSink::kNoFolder,
                                                 entered.name);
            Account(entered);
            entering = false;
        }
        Frame& frame = path.back();
        Folder& folder = *frame.folder;
        const std::size_t count = folder.outcomes.size();
        while (frame.entry < count) {
            const std::size_t entry = frame.entry++;
            if (folder.outcomes[entry] == Outcome::Record) {
                m_sink.AddFile(folder.sinkIndex, folder.listing.Name(entry), folder.times[entry]);
                ++m_filesAppended;
            } else if (folder.outcomes[entry] == Outcome::Descend) {
                FolderPtr child = folder.children[frame.child++];
                path.push_back({std::move(child)});
                entering = true;
                break;
            }
        }
        if (!entering) {
            Done(folder);
            path.pop_back();
        }
    }
    PublishProgress();
    return true;
}

// Waits for a folder's task, doing it (or chunks of it) on this thread when no other has.
bool CWalkRun::WaitUntilReady(const FolderPtr& folderPtr) {
    Folder& folder = *folderPtr;
    FolderPtr other;
    std::size_t chunk = 0;
    Lock lock(m_mutex);
    for (;;) {
        if (Stopping())
            return false;
        if (folder.state == Folder::State::Ready)
            return true;
        if (folder.state == Folder::State::Waiting) {
            folder.state = Folder::State::Taken;
            ++m_inFlight;
            lock.unlock();
            ListFolder(folderPtr);
            lock.lock();
        } else if (folder.nextChunk < folder.chunkCount) {
            chunk = folder.nextChunk++;
            lock.unlock();
            ReadChunk(folder, chunk);
            lock.lock();
        } else if (TakeAnyChunk(other, chunk)) {
            // Another thread has the folder in hand: read ahead meanwhile, as a worker would.
            lock.unlock();
            ReadChunk(*other, chunk);
            lock.lock();
        } else if ((other = TakeNextFolder(lock))) {
            lock.unlock();
            ListFolder(other);
            lock.lock();
        } else {
            // A stop request comes from outside and wakes no one: look again now and then.
            m_folderReady.wait_for(lock, std::chrono::milliseconds(20));
        }
    }
}

void CWalkRun::Account(const Folder& folder) {
    const bool root = folder.depth == 0;
    if (folder.openError != 0) {
        m_problems.AddUnreadable(RelativeFolderPath(folder), folder.openError);
    } else if (folder.loop) {
        ++m_problems.skippedLoops;
    } else {
        const int error = folder.listError != 0 ? folder.listError : folder.timeError.load();
        if (error != 0 && root)
            m_problems.rootError = error;
        else if (error != 0)
            m_problems.AddUnreadable(RelativeFolderPath(folder), error);
        ++m_foldersListed;
    }
    PublishProgress();
}

void CWalkRun::PublishProgress() {
    if (m_control != nullptr) {
        m_control->filesFound.store(m_filesAppended, std::memory_order_relaxed);
        m_control->foldersListed.store(m_foldersListed, std::memory_order_relaxed);
    }
}

// The folder's records are appended: its memory goes, and a worker may read further ahead.
void CWalkRun::Done(Folder& folder) {
    CFolderListing listing;
    std::vector<Outcome> outcomes;
    std::vector<std::int64_t> times;
    std::vector<FolderPtr> children;
    {
        const Lock lock(m_mutex);
        std::swap(listing, folder.listing);
        outcomes.swap(folder.outcomes);
        times.swap(folder.times);
        children.swap(folder.children);
        --m_inFlight;
    }
    m_workToDo.notify_one();
}

} // namespace

CFolderWalk::CFolderWalk(IDirectorySource& source, IStampSink& sink, ScanProblems& problems,
                         WalkLimits limits, WalkControl* control)
    : m_source(source), m_sink(sink), m_problems(problems), m_limits(limits), m_control(control) {}

bool CFolderWalk::Run(const std::string& path) {
    CWalkRun run(m_source, m_sink, m_problems, m_limits, m_control);
    return run.Run(path);
}
