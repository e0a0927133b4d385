#pragma once

#include "directory_source.h"
#include "intrusive_list.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

// The walk's one mutex guards everything its threads share. A function that must run under it
// takes the held lock as a parameter, so that the rule is kept by the compiler.
using WalkLock = std::unique_lock<std::mutex>;

// One folder as the cache of open folders sees it. Only the cache changes it, under the lock.
class CCachedFolder {
public:
    explicit CCachedFolder(std::size_t depth) : m_depth(depth) {}
    CCachedFolder(const CCachedFolder&) = delete;
    CCachedFolder& operator=(const CCachedFolder&) = delete;

    // -1 while closed. Read without the lock only by a thread that has the folder pinned or
    // runs its task, while nobody can close it.
    IDirectorySource::Handle Handle() const { return m_handle; }

private:
    friend class COpenFolderCache;
    // Why the folder is open.
    enum class Need : std::uint8_t {
        Task,       // its own listing and time reads
        Subfolders, // only for subfolders still to be opened through it: kept, may be closed
        Nothing,    // only for the threads that have it pinned
    };

    IDirectorySource::Handle m_handle = -1;
    const std::size_t m_depth;
    int m_pins = 0;
    Need m_need = Need::Task;
    CCachedFolder* m_previous = nullptr; // among the open folders
    CCachedFolder* m_next = nullptr;
    CCachedFolder* m_previousAtDepth = nullptr; // among the kept folders nobody has pinned
    CCachedFolder* m_nextAtDepth = nullptr;
};

// How a walk shares out the descriptors it may still open, set before it starts: one for the
// chosen folder, two for each thread (the folder it reads and one it opens a subfolder
// through) and the rest, up to maxKept, for folders kept open for their subfolders. Fewer
// threads when there are not two for each, but always one.
struct DescriptorBudget {
    std::size_t threads = 1;
    std::size_t kept = 0;
};
DescriptorBudget ShareDescriptors(std::size_t handlesLeft, std::size_t jobs, std::size_t maxKept);

// The folders a walk holds open. A folder stays open while its own task reads it or while a
// thread has it pinned to open a subfolder through it; once read, it is kept open only as long
// as subfolders of it are still to be opened and the budget of kept folders allows, the
// shallowest kept folders being closed first (a deeper one is needed again sooner).
class COpenFolderCache {
public:
    COpenFolderCache(IDirectorySource& source, std::size_t maxKept) : m_source(source), m_maxKept(maxKept) {}

    // The folder now holds handle for its own task.
    void Opened(CCachedFolder& folder, IDirectorySource::Handle handle, const WalkLock& held);
    // Its task is done and subfolders of it are still to be opened through it.
    void Keep(CCachedFolder& folder, const WalkLock& held);
    // Nothing is to be opened through it any more: it is closed once nobody has it pinned.
    void Release(CCachedFolder& folder, const WalkLock& held);
    // Pinned, an open folder is not closed.
    void Pin(CCachedFolder& folder, const WalkLock& held);
    void Unpin(CCachedFolder& folder, const WalkLock& held);
    // The process ran out of descriptors all the same (other parts of it took some): closes the
    // shallowest kept folder nobody has pinned and lowers the budget to the folders still kept.
    // False when there is none to close.
    bool GiveBackOne(const WalkLock& held);
    // Folders closed and tasks ended so far; read without the lock.
    std::uint64_t Progress() const { return m_progress; }
    // When there was none to give back, other threads may hold the descriptors: true once one of
    // them has closed a folder or ended a folder's task (a task opens nothing, so it ends, and the
    // folder may then be given back) since the count was read. Waits a moment at most for it;
    // not at all when only the chosen folder and the caller's pinned one are open, or nothing
    // has moved since a wait in vain.
    bool AwaitProgress(std::uint64_t since, WalkLock& held);
    // Closes every folder, once no other thread uses any.
    void CloseAll(const WalkLock& held);

private:
    // The private helpers run under the lock that the public call that reached them holds.
    void Close(CCachedFolder& folder);
    void EndTask(CCachedFolder& folder);
    void Progressed();
    bool CloseShallowest();
    void CloseBeyondBudget();
    void AddCandidate(CCachedFolder& folder);
    void RemoveCandidate(CCachedFolder& folder);

    static constexpr IntrusiveLinks<CCachedFolder> kOpen{&CCachedFolder::m_previous, &CCachedFolder::m_next};
    static constexpr IntrusiveLinks<CCachedFolder> kAtDepth{&CCachedFolder::m_previousAtDepth,
                                                            &CCachedFolder::m_nextAtDepth};

    IDirectorySource& m_source;
    std::size_t m_maxKept;
    std::size_t m_kept = 0;                    // folders open only for their subfolders, pinned or not
    std::atomic<std::uint64_t> m_progress = 0; // changed under the lock
    std::uint64_t m_progressWhenStuck = UINT64_MAX;
    std::condition_variable m_progressed;
    CCachedFolder* m_open = nullptr;
    std::size_t m_openCount = 0;
    // Kept folders nobody has pinned, the candidates for closing, listed by depth; the
    // shallowest non-empty depth is at or after m_shallowest.
    std::vector<CCachedFolder*> m_candidatesAtDepth;
    std::size_t m_shallowest = 0;
};
