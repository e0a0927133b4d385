#include "memory_directory_source.h"

#include <algorithm>
#include <cerrno>
#include <new>

CMemoryDirectorySource::CMemoryDirectorySource() : m_folders(1) {}

int CMemoryDirectorySource::AddFolder(int parent, const std::string& name) {
    const int folder = static_cast<int>(m_folders.size());
    m_folders.emplace_back();
    m_folders.back().path = m_folders[static_cast<std::size_t>(parent)].path + "/" + name;
    m_folders[static_cast<std::size_t>(parent)].entries.push_back({name, Type::Folder, 0, folder});
    return folder;
}

void CMemoryDirectorySource::AddFile(int parent, const std::string& name, std::int64_t lastWrite) {
    m_folders[static_cast<std::size_t>(parent)].entries.push_back({name, Type::File, lastWrite, -1});
}

void CMemoryDirectorySource::AddVanished(int parent, const std::string& name) {
    m_folders[static_cast<std::size_t>(parent)].entries.push_back({name, Type::Vanished, 0, -1});
}

void CMemoryDirectorySource::AddFolderAlias(int parent, const std::string& name, int folder) {
    m_folders[static_cast<std::size_t>(parent)].entries.push_back({name, Type::Folder, 0, folder});
}

void CMemoryDirectorySource::SetOpenError(int folder, int error) {
    m_folders[static_cast<std::size_t>(folder)].openError = error;
}

void CMemoryDirectorySource::SetListError(int folder, int after, int error) {
    m_folders[static_cast<std::size_t>(folder)].listErrorAfter = after;
    m_folders[static_cast<std::size_t>(folder)].listError = error;
}

void CMemoryDirectorySource::SetTimeError(int folder, int error) {
    m_folders[static_cast<std::size_t>(folder)].timeError = error;
}

void CMemoryDirectorySource::SetKindsUnknown(int folder) {
    m_folders[static_cast<std::size_t>(folder)].kindsUnknown = true;
}

void CMemoryDirectorySource::SetFileSystem(int folder, std::uint64_t device, bool pseudo) {
    m_folders[static_cast<std::size_t>(folder)].device = device;
    m_folders[static_cast<std::size_t>(folder)].pseudo = pseudo;
}

bool CMemoryDirectorySource::OnPseudoFileSystem(Handle folder) {
    const std::lock_guard lock(m_mutex);
    if (!Valid(folder)) {
        ++m_misuses;
        return false;
    }
    return m_folders[static_cast<std::size_t>(m_handles[static_cast<std::size_t>(folder)].folder)].pseudo;
}

std::string CMemoryDirectorySource::FolderPath(Handle folder) {
    const std::lock_guard lock(m_mutex);
    if (!Valid(folder)) {
        ++m_misuses;
        return {};
    }
    const std::string& below =
        m_folders[static_cast<std::size_t>(m_handles[static_cast<std::size_t>(folder)].folder)].path;
    return m_rootPath.ends_with('/') && !below.empty() ? m_rootPath + below.substr(1) : m_rootPath + below;
}

IDirectorySource::OpenResult CMemoryDirectorySource::OpenRoot(const std::string& path) {
    const std::lock_guard lock(m_mutex);
    m_rootPath = path;
    return Open(kRoot);
}

IDirectorySource::OpenResult CMemoryDirectorySource::OpenChild(Handle parent, const char* name) {
    const std::lock_guard lock(m_mutex);
    if (!Valid(parent)) {
        ++m_misuses;
        return {-1, EBADF, {}};
    }
    const Entry* entry = Find(parent, name);
    if (entry == nullptr || entry->type == Type::Vanished)
        return {-1, ENOENT, {}};
    return entry->type == Type::Folder ? Open(entry->folder) : OpenResult{-1, ENOTDIR, {}};
}

IDirectorySource::OpenResult CMemoryDirectorySource::Open(int folder) {
    const Folder& node = m_folders[static_cast<std::size_t>(folder)];
    if (node.openError != 0)
        return {-1, node.openError, {}};
    if (m_openLimit >= 0 && m_openNow >= m_openLimit)
        return {-1, EMFILE, {}};
    m_handles.push_back({folder, true, false});
    ++m_opens;
    m_mostOpen = std::max(m_mostOpen, ++m_openNow);
    return {static_cast<Handle>(m_handles.size() - 1), 0, {node.device, static_cast<std::uint64_t>(folder)}};
}

std::size_t CMemoryDirectorySource::HandlesLeft() {
    const std::lock_guard lock(m_mutex);
    if (m_openLimit < 0 || m_openLimitHidden)
        return kNoHandleLimit;
    return static_cast<std::size_t>(std::max(m_openLimit - m_openNow, 0));
}

void CMemoryDirectorySource::CountRead() {
    if (m_readsBeforeOutOfMemory == 0)
        throw std::bad_alloc();
    if (m_readsBeforeOutOfMemory > 0)
        --m_readsBeforeOutOfMemory;
}

int CMemoryDirectorySource::List(Handle handle, CFolderListing& listing) {
    const std::lock_guard lock(m_mutex);
    if (!Valid(handle) || m_handles[static_cast<std::size_t>(handle)].listed) {
        ++m_misuses;
        return EBADF;
    }
    m_handles[static_cast<std::size_t>(handle)].listed = true;
    const Folder& folder =
        m_folders[static_cast<std::size_t>(m_handles[static_cast<std::size_t>(handle)].folder)];
    for (std::size_t i = 0; i < folder.entries.size(); ++i) {
        if (folder.listErrorAfter >= 0 && i >= static_cast<std::size_t>(folder.listErrorAfter))
            return folder.listError;
        CountRead();
        const Entry& entry = folder.entries[i];
        const EntryKind kind = folder.kindsUnknown          ? EntryKind::Unknown
                               : entry.type == Type::Folder ? EntryKind::Folder
                                                            : EntryKind::Other;
        listing.Add(entry.name, kind);
    }
    return 0;
}

EntryTime CMemoryDirectorySource::ReadTime(Handle handle, const char* name) {
    const std::lock_guard lock(m_mutex);
    if (!Valid(handle)) {
        ++m_misuses;
        return {EBADF, false, 0};
    }
    CountRead();
    const Folder& folder =
        m_folders[static_cast<std::size_t>(m_handles[static_cast<std::size_t>(handle)].folder)];
    const Entry* entry = Find(handle, name);
    if (entry == nullptr || entry->type == Type::Vanished)
        return {ENOENT, false, 0};
    if (folder.timeError != 0)
        return {folder.timeError, false, 0};
    return {0, entry->type == Type::Folder, entry->lastWrite};
}

void CMemoryDirectorySource::Close(Handle handle) {
    const std::lock_guard lock(m_mutex);
    if (!Valid(handle)) {
        ++m_misuses;
        return;
    }
    m_handles[static_cast<std::size_t>(handle)].open = false;
    --m_openNow;
}

bool CMemoryDirectorySource::Valid(Handle handle) const {
    return handle >= 0 && static_cast<std::size_t>(handle) < m_handles.size() &&
           m_handles[static_cast<std::size_t>(handle)].open;
}

const CMemoryDirectorySource::Entry* CMemoryDirectorySource::Find(Handle parent, const char* name) const {
    for (const Entry& entry :
         m_folders[static_cast<std::size_t>(m_handles[static_cast<std::size_t>(parent)].folder)].entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}
