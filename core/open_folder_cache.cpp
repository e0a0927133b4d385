#include "open_folder_cache.h"

#include <algorithm>
#include <chrono>

DescriptorBudget ShareDescriptors(std::size_t handlesLeft, std::size_t jobs, std::size_t maxKept) {
    DescriptorBudget budget;
    const std::size_t spare =
        handlesLeft - std::min<std::size_t>(handlesLeft, 1); // the chosen folder's taken
    budget.threads = std::clamp<std::size_t>(spare / 2, 1, std::max<std::size_t>(jobs, 1));
    budget.kept = std::min(maxKept, spare - std::min(spare, 2 * budget.threads));
    return budget;
}

void COpenFolderCache::Opened(CCachedFolder& folder, IDirectorySource::Handle handle, const WalkLock&) {
    folder.m_handle = handle;
    folder.m_need = CCachedFolder::Need::Task;
    kOpen.PushFront(m_open, folder);
    ++m_openCount;
}

void COpenFolderCache::EndTask(CCachedFolder& folder) {
    if (folder.m_need == CCachedFolder::Need::Task)
        Progressed();
}

void COpenFolderCache::Progressed() {
    ++m_progress;
    m_progressed.notify_all();
}

void COpenFolderCache::Keep(CCachedFolder& folder, const WalkLock&) {
    EndTask(folder);
    if (folder.m_need != CCachedFolder::Need::Subfolders) {
        folder.m_need = CCachedFolder::Need::Subfolders;
        ++m_kept;
        if (folder.m_pins == 0)
            AddCandidate(folder);
    }
    CloseBeyondBudget();
}

void COpenFolderCache::Release(CCachedFolder& folder, const WalkLock&) {
    EndTask(folder);
    if (folder.m_pins == 0 && folder.m_handle >= 0)
        Close(folder);
    else if (folder.m_need == CCachedFolder::Need::Subfolders)
        --m_kept; // pinned: closed once unpinned
    folder.m_need = CCachedFolder::Need::Nothing;
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

bool COpenFolderCache::GiveBackOne(const WalkLock&) {
    if (!CloseShallowest())
        return false;
    m_maxKept = std::min(m_maxKept, m_kept);
    return true;
}

bool COpenFolderCache::AwaitProgress(std::uint64_t since, WalkLock& held) {
    if (m_progress != since)
        return true;
    // Other threads hold nothing beyond the chosen folder and the caller's pinned one, or
    // nothing moved since a wait in vain.
    if (m_openCount <= 2 || since == m_progressWhenStuck)
        return false;
    if (m_progressed.wait_for(held, std::chrono::milliseconds(100), [&] { return m_progress != since; }))
        return true;
    m_progressWhenStuck = since;
    return false;
}

bool COpenFolderCache::CloseShallowest() {
    while (m_shallowest < m_candidatesAtDepth.size() && m_candidatesAtDepth[m_shallowest] == nullptr)
        ++m_shallowest;
    if (m_shallowest == m_candidatesAtDepth.size())
        return false;
    Close(*m_candidatesAtDepth[m_shallowest]);
    return true;
}

void COpenFolderCache::CloseAll(const WalkLock&) {
    while (m_open != nullptr)
        Close(*m_open);
}

void COpenFolderCache::Close(CCachedFolder& folder) {
    m_source.Close(folder.m_handle);
    folder.m_handle = -1;
    Progressed();
    if (folder.m_need == CCachedFolder::Need::Subfolders) {
        if (folder.m_pins == 0)
            RemoveCandidate(folder);
        folder.m_need = CCachedFolder::Need::Nothing; // reopened by name when a subfolder needs it
        --m_kept;
    }
    kOpen.Unlink(m_open, folder);
    --m_openCount;
}

void COpenFolderCache::CloseBeyondBudget() {
    while (m_kept > m_maxKept && CloseShallowest()) {
    }
}

void COpenFolderCache::AddCandidate(CCachedFolder& folder) {
    if (folder.m_depth >= m_candidatesAtDepth.size())
        m_candidatesAtDepth.resize(folder.m_depth + 1, nullptr);
    kAtDepth.PushFront(m_candidatesAtDepth[folder.m_depth], folder);
    if (folder.m_depth < m_shallowest)
        m_shallowest = folder.m_depth;
}

void COpenFolderCache::RemoveCandidate(CCachedFolder& folder) {
    kAtDepth.Unlink(m_candidatesAtDepth[folder.m_depth], folder);
}
