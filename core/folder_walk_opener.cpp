#include "folder_walk_opener.h"

#include <cerrno>
#include <vector>

using OpenResult = IDirectorySource::OpenResult;

int CFolderWalkOpener::OpenRoot(const std::string& path, WalkFolder& root) {
    const OpenResult opened = m_source.OpenRoot(path);
    if (opened.handle < 0)
        return opened.error;
    root.id = opened.id;
    const WalkLock lock(m_mutex);
    m_cache.Opened(root.open, opened.handle, lock);
    m_openIds.insert(root.id);
    return 0;
}

bool CFolderWalkOpener::Open(WalkFolder& folder) {
    WalkFolder& parent = *folder.parent;
    OpenResult opened = AcquireHandle(parent);
    const bool pinned = opened.handle >= 0;
    if (pinned)
        opened = OpenChild(opened.handle, folder.name.c_str());
    {
        const WalkLock lock(m_mutex);
        if (pinned)
            m_cache.Unpin(parent.open, lock);
        if (--parent.unopenedChildren == 0 && parent.state == WalkFolder::State::Ready)
            Read(parent, lock); // nothing more is opened through it
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

void CFolderWalkOpener::Read(WalkFolder& folder, const WalkLock& held) {
    if (folder.depth == 0)
        return;
    if (folder.unopenedChildren > 0)
        m_cache.Keep(folder.open, held);
    else
        m_cache.Release(folder.open, held);
}

void CFolderWalkOpener::Appended(const WalkFolder& folder, const WalkLock&) {
    if (const auto id = m_openIds.find(folder.id);
        folder.openError == 0 && !folder.loop && id != m_openIds.end())
        m_openIds.erase(id);
}

// The folder's handle, pinned so that it stays open until unpinned; opened again by name from
// the nearest open ancestor if it was closed. The chosen folder stays open throughout.
OpenResult CFolderWalkOpener::AcquireHandle(WalkFolder& folder) {
    std::vector<WalkFolder*> closed; // from folder up to below the nearest open ancestor
    WalkFolder* holder = &folder;
    {
        const WalkLock lock(m_mutex);
        for (; holder->open.Handle() < 0; holder = holder->parent.get())
            closed.push_back(holder);
        m_cache.Pin(holder->open, lock);
    }
    for (std::size_t k = closed.size(); k-- > 0;) {
        WalkFolder& next = *closed[k];
        const OpenResult opened = OpenChild(holder->open.Handle(), next.name.c_str());
        const WalkLock lock(m_mutex);
        m_cache.Unpin(holder->open, lock);
        if (opened.handle < 0 || !(opened.id == next.id)) { // the tree changed under the walk
            if (opened.handle >= 0)
                m_source.Close(opened.handle);
            return {-1, opened.handle < 0 ? opened.error : ENOENT, {}};
        }
        m_cache.Pin(next.open, lock);
        if (next.open.Handle() >= 0) {
            m_source.Close(opened.handle); // another thread opened it meanwhile
        } else {
            m_cache.Opened(next.open, opened.handle, lock);
            Read(next, lock); // it was read before: kept only for subfolders still to be opened
        }
        holder = &next;
    }
    return {holder->open.Handle(), 0, holder->id};
}

// Opens a subfolder; while the process is out of descriptors, gives kept folders back, or
// failing that waits for another thread to free one.
OpenResult CFolderWalkOpener::OpenChild(IDirectorySource::Handle parent, const char* name) {
    for (;;) {
        const std::uint64_t progress = m_cache.Progress();
        const OpenResult opened = m_source.OpenChild(parent, name);
        if (opened.error != EMFILE && opened.error != ENFILE)
            return opened;
        WalkLock lock(m_mutex);
        if (!m_cache.GiveBackOne(lock) && !m_cache.AwaitProgress(progress, lock))
            return opened;
    }
}

// Whether a folder with this identity is among the parent's ancestors or the parent itself.
bool CFolderWalkOpener::IsOwnAncestor(const WalkFolder& parent, const FolderId& id, const WalkLock&) const {
    if (m_openIds.count(id) == 0)
        return false; // the common case, whatever the depth
    for (const WalkFolder* ancestor = &parent; ancestor != nullptr; ancestor = ancestor->parent.get())
        if (ancestor->id == id)
            return true;
    return false;
}
