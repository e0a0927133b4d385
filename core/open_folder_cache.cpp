#include "open_folder_cache.h"

#include <chrono>

void COpenFolderCache::Opened(CCachedFolder& folder, IDirectorySource::Handle handle, const WalkLock&) {
    folder.m_handle = handle;
    folder.m_need = CCachedFolder::Need::Task;
    kOpen.PushFront(m_open, folder);
}

void COpenFolderCache::Reopened(CCachedFolder& folder, IDirectorySource::Handle handle, bool subfoldersLeft,
                                const WalkLock& held) {
    Opened(folder, handle, held);
    folder.m_need = CCachedFolder::Need::Nothing;
    if (subfoldersLeft)
        Keep(folder, held);
}

void COpenFolderCache::Keep(CCachedFolder& folder, const WalkLock&) {
    if (folder.m_need != CCachedFolder::Need::Subfolders) {
        folder.m_need = CCachedFolder::Need::Subfolders;
        ++m_kept;
        if (folder.m_pins == 0)
            AddCandidate(folder);
    }
    CloseBeyondBudget();
}

void COpenFolderCache::Release(CCachedFolder& folder, const WalkLock&) {
    if (folder.m_need == CCachedFolder::Need::Subfolders) {
        --m_kept;
        if (folder.m_pins == 0 && folder.m_handle >= 0)
            RemoveCandidate(folder);
    }
    folder.m_need = CCachedFolder::Need::Nothing;
    if (folder.m_pins == 0 && folder.m_handle >= 0)
        Close(folder);
}

void COpenFolderCache::Pin(CCachedFolder& folder, const WalkLock&) {
    if (folder.m_pins++ == 0 && folder.m_need == CCachedFolder::Need::Subfolders && folder.m_handle >= 0)
        RemoveCandidate(folder);
}

void COpenFolderCache::Unpin(CCachedFolder& folder, const WalkLock&) {
    if (--folder.m_pins == 0 && folder.m_handle >= 0) {
        if (folder.m_need == CCachedFolder::Need::Nothing)
            Close(folder);
        else if (folder.m_need == CCachedFolder::Need::Subfolders)
            AddCandidate(folder);
    }
    CloseBeyondBudget(); // kept folders it held over the budget may go now
}

bool COpenFolderCache::CloseShallowestKept(const WalkLock&) {
    return CloseShallowest();
}

bool COpenFolderCache::CloseShallowest() {
    while (m_shallowest < m_candidatesAtDepth.size() && m_candidatesAtDepth[m_shallowest] == nullptr)
        ++m_shallowest;
    if (m_shallowest == m_candidatesAtDepth.size())
        return false;
    CCachedFolder& folder = *m_candidatesAtDepth[m_shallowest];
    RemoveCandidate(folder);
    Close(folder);
    return true;
}

void COpenFolderCache::AwaitClose(WalkLock& held) {
    // Closing wakes the waiters; the timeout bounds the wait for a stop request or for a thread
    // that gives up.
    m_closed.wait_for(held, std::chrono::milliseconds(20));
}

void COpenFolderCache::CloseAll(const WalkLock&) {
    while (m_open != nullptr) {
        CCachedFolder& folder = *m_open;
        if (folder.m_need == CCachedFolder::Need::Subfolders && folder.m_pins == 0)
            RemoveCandidate(folder);
        Close(folder);
    }
}

void COpenFolderCache::Close(CCachedFolder& folder) {
    m_source.Close(folder.m_handle);
    folder.m_handle = -1;
    if (folder.m_need == CCachedFolder::Need::Subfolders) {
        folder.m_need = CCachedFolder::Need::Nothing; // reopened by name when a subfolder needs it
        --m_kept;
    }
    kOpen.Unlink(m_open, folder);
    m_closed.notify_all();
}

void COpenFolderCache::CloseBeyondBudget() {
    while (m_kept > m_maxKept && CloseShallowest()) {
    }
}

void COpenFolderCache::AddCandidate(CCachedFolder& folder) {
    if (folder.m_depth >= m_candidatesAtDepth.size())
        m_candidatesAtDepth.resize(folder.m_depth + 1, nullptr);
    kAtDepth.PushFront(m_candidatesAtDepth[folder.m_depth], folder);
    ++m_closable;
    if (folder.m_depth < m_shallowest)
        m_shallowest = folder.m_depth;
}

void COpenFolderCache::RemoveCandidate(CCachedFolder& folder) {
    kAtDepth.Unlink(m_candidatesAtDepth[folder.m_depth], folder);
    --m_closable;
}
