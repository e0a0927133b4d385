#include "walk_scheduler.h"

#include "intrusive_list.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <system_error>

namespace {

// Folders listed ahead of the one whose records are being appended.
constexpr std::size_t kFoldersAhead = 256;
constexpr IntrusiveLinks<WalkFolder> kPending{&WalkFolder::pendingPrevious, &WalkFolder::pendingNext};

} // namespace

CWalkScheduler::CWalkScheduler(const std::atomic<bool>* stopRequested, RunTask run)
    : m_stopRequested(stopRequested), m_run(std::move(run)) {}

void CWalkScheduler::StartWorkers(std::size_t count) {
    const WalkLock lock(m_mutex); // the threads start work once all are counted
    m_threads.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        try {
            m_threads.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // fewer threads, the same walk
        }
    }
}

void CWalkScheduler::StopWorkers() {
    {
        const WalkLock lock(m_mutex);
        m_done = true;
    }
    m_workToDo.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
    m_chunked.clear();
    m_pending = nullptr;
}

void CWalkScheduler::Work() {
    WalkLock lock(m_mutex);
    while (!m_done) {
        WalkTask task;
        if (!Take(task, lock)) {
            ++m_idleWorkers;
            m_workToDo.wait(lock);
            --m_idleWorkers;
            continue;
        }
        lock.unlock();
        try {
            m_run(task);
        } catch (const std::bad_alloc&) {
            m_failed = true; // the appending thread sees it and ends the walk
        }
        task = {};
        lock.lock();
    }
}

bool CWalkScheduler::Take(WalkTask& task, const WalkLock& held) {
    while (!m_chunked.empty()) {
        if (TakeOwnChunk(*m_chunked.front(), task.chunk, held)) {
            task.folder = m_chunked.front();
            return true;
        }
        m_chunked.pop_front();
    }
    if (m_inFlight >= kFoldersAhead)
        return false;
    for (WalkFolder* folder = m_pending; folder != nullptr; folder = folder->pendingNext) {
        if (!folder->children.empty()) { // they are known
            task.folder = folder->children[folder->nextChild];
            TakeFolder(*task.folder, held);
            return true;
        }
    }
    return false;
}

bool CWalkScheduler::TakeOwnChunk(WalkFolder& folder, std::size_t& chunk, const WalkLock&) {
    if (folder.nextChunk >= folder.chunkCount)
        return false;
    chunk = folder.nextChunk++;
    return true;
}

void CWalkScheduler::TakeFolder(WalkFolder& folder, const WalkLock&) {
    folder.state = WalkFolder::State::Taken;
    ++m_inFlight;
    WalkFolder* const parent = folder.parent.get();
    // Before its parent, which stays in the list while it has subfolders to take.
    kPending.InsertBefore(m_pending, folder, parent != nullptr ? parent : m_pending);
    if (parent == nullptr)
        return;
    const std::vector<FolderPtr>& siblings = parent->children;
    while (parent->nextChild < siblings.size() &&
           siblings[parent->nextChild]->state != WalkFolder::State::Waiting)
        ++parent->nextChild;
    if (parent->nextChild == siblings.size())
        kPending.Unlink(m_pending, *parent);
}

void CWalkScheduler::PublishChildren(WalkFolder& folder, std::vector<FolderPtr> children,
                                     const WalkLock& held) {
    const std::size_t count = children.size();
    folder.unopenedChildren = count;
    folder.children = std::move(children);
    if (count == 0)
        kPending.Unlink(m_pending, folder);
    Wake(std::min(count, kFoldersAhead - std::min(m_inFlight, kFoldersAhead)), held);
}

void CWalkScheduler::PublishChunks(const FolderPtr& folder, const WalkLock& held) {
    m_chunked.push_back(folder);
    Wake(folder->chunkCount - 1, held); // the thread that listed it reads chunks too
}

void CWalkScheduler::Ready(WalkFolder& folder, const WalkLock&) {
    folder.state = WalkFolder::State::Ready;
    if (&folder == m_awaited)
        m_appenderWake.notify_one();
}

void CWalkScheduler::Appended(const WalkLock& held) {
    if (m_inFlight-- == kFoldersAhead)
        Wake(1, held);
}

void CWalkScheduler::Wake(std::size_t tasks, const WalkLock&) {
    const std::size_t workers = std::min(tasks, m_idleWorkers);
    for (std::size_t i = 0; i < workers; ++i)
        m_workToDo.notify_one();
    if (tasks > workers) // the appending thread too, should it be waiting with nothing to do
        m_appenderWake.notify_one();
}

bool CWalkScheduler::AwaitReady(const FolderPtr& folderPtr) {
    WalkFolder& folder = *folderPtr;
    WalkLock lock(m_mutex);
    m_awaited = &folder;
    for (;;) {
        if (Stopping())
            return false;
        if (folder.state == WalkFolder::State::Ready)
            return true;
        WalkTask task;
        if (folder.state == WalkFolder::State::Waiting) {
            TakeFolder(folder, lock); // not left queued, however few threads there are
            task.folder = folderPtr;
        } else if (TakeOwnChunk(folder, task.chunk, lock)) {
            task.folder = folderPtr;
        } else if (!Take(task, lock)) {
            // Another thread has the folder in hand and there is nothing else to do. A stop
            // request comes from outside and wakes no one: look again now and then.
            m_appenderWake.wait_for(lock, std::chrono::milliseconds(20));
            continue;
        }
        lock.unlock();
        m_run(task);
        task = {};
        lock.lock();
    }
}
