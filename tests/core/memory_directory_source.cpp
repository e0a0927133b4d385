#include "memory_directory_source.h"

#include <algorithm>
#include <cerrno>
#include <new>

CMemoryDirectorySource::CMemoryDirectorySource() : m_folders(1) {}

int CMemoryDirectorySource::AddFolder(int parent, const std::string& name) {
    const int folder = static_cast<int>(m_folders.size());
    m_folders.emplace_back();
    m_folders[static_cast<std::size_t>(parent)].entries.push_back(
        {name, DirectoryEntry::Type::Folder, 0, folder});
    return folder;
}

void CMemoryDirectorySource::AddFile(int parent, const std::string& name, std::int64_t lastWrite) {
    m_folders[static_cast<std::size_t>(parent)].entries.push_back(
        {name, DirectoryEntry::Type::File, lastWrite, -1});
}

void CMemoryDirectorySource::AddVanished(int parent, const std::string& name) {
    m_folders[static_cast<std::size_t>(parent)].entries.push_back(
        {name, DirectoryEntry::Type::Vanished, 0, -1});
}

void CMemoryDirectorySource::AddFolderAlias(int parent, const std::string& name, int folder) {
    m_folders[static_cast<std::size_t>(parent)].entries.push_back(
        {name, DirectoryEntry::Type::Folder, 0, folder});
}

void CMemoryDirectorySource::SetOpenError(int folder, int error) {
    m_folders[static_cast<std::size_t>(folder)].openError = error;
}

void CMemoryDirectorySource::SetListError(int folder, int after, int error) {
    m_folders[static_cast<std::size_t>(folder)].listErrorAfter = after;
    m_folders[static_cast<std::size_t>(folder)].listError = error;
}

IDirectorySource::OpenResult CMemoryDirectorySource::OpenRoot(const std::string&) {
    return Open(kRoot);
}

IDirectorySource::OpenResult CMemoryDirectorySource::OpenChild(Handle parent, const std::string& name) {
    if (!Valid(parent)) {
        ++m_misuses;
        return {-1, EBADF, {}};
    }
    for (const Entry& entry :
         m_folders[static_cast<std::size_t>(m_handles[static_cast<std::size_t>(parent)].folder)].entries)
        if (entry.name == name)
            return entry.type == DirectoryEntry::Type::Folder ? Open(entry.folder)
                                                              : OpenResult{-1, ENOTDIR, {}};
    return {-1, ENOENT, {}};
}

IDirectorySource::OpenResult CMemoryDirectorySource::Open(int folder) {
    const Folder& node = m_folders[static_cast<std::size_t>(folder)];
    if (node.openError != 0)
        return {-1, node.openError, {}};
    if (m_openLimit >= 0 && m_openNow >= m_openLimit)
        return {-1, EMFILE, {}};
    m_handles.push_back({folder, 0, true});
    ++m_opens;
    m_mostOpen = std::max(m_mostOpen, ++m_openNow);
    return {static_cast<Handle>(m_handles.size() - 1), 0, {1, static_cast<std::uint64_t>(folder)}};
}

IDirectorySource::ReadResult CMemoryDirectorySource::Next(Handle handle, DirectoryEntry& entry, int& error) {
    if (!Valid(handle)) {
        ++m_misuses;
        error = EBADF;
        return ReadResult::Error;
    }
    if (m_readsBeforeOutOfMemory == 0)
        throw std::bad_alloc();
    if (m_readsBeforeOutOfMemory > 0)
        --m_readsBeforeOutOfMemory;
    OpenFolder& open = m_handles[static_cast<std::size_t>(handle)];
    const Folder& folder = m_folders[static_cast<std::size_t>(open.folder)];
    if (folder.listErrorAfter >= 0 && open.position >= static_cast<std::size_t>(folder.listErrorAfter)) {
        error = folder.listError;
        return ReadResult::Error;
    }
    const std::size_t position = open.position++;
    if (position < 2) {
        entry = {position == 0 ? "." : "..", DirectoryEntry::Type::Folder, 0};
        return ReadResult::Entry;
    }
    if (position - 2 >= folder.entries.size())
        return ReadResult::End;
    const Entry& listed = folder.entries[position - 2];
    entry = {listed.name, listed.type, listed.lastWrite};
    return ReadResult::Entry;
}

void CMemoryDirectorySource::Close(Handle handle) {
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
