#pragma once

#include "walk_folder.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// One piece of work for a reading thread: listing a folder, or reading one chunk of its times.
struct WalkTask {
    static constexpr std::size_t kListing = ~std::size_t{0};
    FolderPtr folder;
    std::size_t chunk = kListing;
};

// Hands a walk's work to its threads: chunks of time reads first (a folder is only ready when
// all of them are), then folders in walk order, no more than `kFoldersAhead` of them taken and not
// yet appended. Wakes only as many threads as there is work for.
//
// The folders whose subfolders are still to be taken form one list in walk order. A folder
// goes into it when it is taken, just before its parent (after the earlier subfolders taken from
// the same parent), and leaves it once its last subfolder is taken; so the next folder in walk
// order is the first subfolder not yet taken of the first folder in the list whose subfolders
// are known, whatever the depth.
class CWalkScheduler {
public:
    using RunTask = std::function<void(const WalkTask&)>;

    CWalkScheduler(const std::atomic<bool>* stopRequested, RunTask run);
    ~CWalkScheduler() { StopWorkers(); }

    std::mutex& Mutex() { return m_mutex; }
    // A stop was requested, or a thread ran out of memory.
    bool Stopping() const {
        return m_failed.load(std::memory_order_relaxed) ||
               (m_stopRequested != nullptr && m_stopRequested->load(std::memory_order_relaxed));
    }
    bool Failed() const { return m_failed.load(); }

    // Threads that take tasks besides the appending one; fewer when the system has no more.
    void StartWorkers(std::size_t count);
    // Ends and joins them; the tasks still queued are dropped.
    void StopWorkers();

    // The folder's subfolders are known (none when it could not be listed) and may be taken.
    void PublishChildren(WalkFolder& folder, std::vector<FolderPtr> children, const WalkLock& held);
    // The folder's chunkCount chunks of time reads may be taken by any thread.
    void PublishChunks(const FolderPtr& folder, const WalkLock& held);
    // The next chunk of the folder's own time reads, if one is left.
    static bool TakeOwnChunk(WalkFolder& folder, std::size_t& chunk, const WalkLock& held);
    // Every time of the folder is read.
    void Ready(WalkFolder& folder, const WalkLock& held);

    // For the appending thread: waits until the folder is ready, doing its task or other work
    // meanwhile. False when the walk is stopping.
    bool AwaitReady(const FolderPtr& folder);
    // A folder's records are appended: another folder may be taken.
    void Appended(const WalkLock& held);

private:
    bool Take(WalkTask& task, const WalkLock& held);
    void TakeFolder(WalkFolder& folder, const WalkLock& held);
    void Wake(std::size_t tasks, const WalkLock& held);
    void Work();

    const std::atomic<bool>* const m_stopRequested;
    const RunTask m_run;

    std::mutex m_mutex;
    std::condition_variable m_workToDo; // workers wait here
    std::condition_variable m_appenderWake;
    std::size_t m_idleWorkers = 0;
    const WalkFolder* m_awaited = nullptr; // the folder the appending thread waits for
    WalkFolder* m_pending = nullptr;       // head of the list of folders with subfolders to take
    std::deque<FolderPtr> m_chunked;       // folders with chunks left to take
    std::size_t m_inFlight = 0;            // folders taken and not yet appended
    bool m_done = false;
    std::atomic<bool> m_failed{false};
    std::vector<std::thread> m_threads;
};
