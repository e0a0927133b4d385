#include "filtered_directory_source.h"

#include <algorithm>
#include <cerrno>

CFilteredDirectorySource::CFilteredDirectorySource(IDirectorySource& source, EntryFilter filter)
    : CForwardingDirectorySource(source), m_filter(std::move(filter)), m_matcher(m_filter) {}

IDirectorySource::OpenResult CFilteredDirectorySource::OpenRoot(const std::string& path) {
    const OpenResult opened = m_inner.OpenRoot(path);
    if (opened.handle >= 0) {
        m_rootDevice = opened.id.device;
        m_rootOnPseudoFileSystem = m_inner.OnPseudoFileSystem(opened.handle);
    }
    return opened;
}

IDirectorySource::OpenResult CFilteredDirectorySource::OpenChild(Handle parent, const char* name) {
    const OpenResult opened = m_inner.OpenChild(parent, name);
    if (opened.handle >= 0 && opened.id.device != m_rootDevice && LeavesOutFileSystemOf(opened)) {
        const std::lock_guard lock(m_mutex);
        m_emptied.insert(opened.handle);
        const bool first = m_mountsLeftOut.insert({opened.id.device, opened.id.inode}).second;
        m_anyEmptied.store(true, std::memory_order_relaxed);
        if (first && m_mountPaths.size() < kMountPointPathsKept) {
            std::string path = m_inner.FolderPath(opened.handle);
            m_mountPaths.push_back(path.empty() ? std::string(name) : std::move(path));
        }
    }
    return opened;
}

// Whether the folder just opened on a file system other than the chosen folder's is not entered.
bool CFilteredDirectorySource::LeavesOutFileSystemOf(const OpenResult& opened) {
    if (m_filter.oneFileSystem || m_rootOnPseudoFileSystem) // any other, or no made-up one
        return m_filter.oneFileSystem;
    {
        const std::lock_guard lock(m_mutex);
        if (const auto known = m_pseudoDevices.find(opened.id.device); known != m_pseudoDevices.end())
            return known->second;
    }
    const bool pseudo = m_inner.OnPseudoFileSystem(opened.handle);
    const std::lock_guard lock(m_mutex);
    m_pseudoDevices[opened.id.device] = pseudo;
    return pseudo;
}

int CFilteredDirectorySource::List(Handle folder, CFolderListing& listing) {
    if (m_anyEmptied.load(std::memory_order_relaxed)) {
        const std::lock_guard lock(m_mutex);
        if (m_emptied.contains(folder))
            return 0;
    }
    return m_inner.List(folder, listing);
}

EntryTime CFilteredDirectorySource::ReadTime(Handle folder, const char* name) {
    const EntryTime time = m_inner.ReadTime(folder, name);
    if (time.error != 0 || time.folder || WrittenInRange(time.lastWrite, m_filter))
        return time;
    m_filesOutsideRange.fetch_add(1, std::memory_order_relaxed);
    return {ENOENT, false, 0};
}

void CFilteredDirectorySource::Close(Handle folder) {
    if (m_anyEmptied.load(std::memory_order_relaxed)) {
        const std::lock_guard lock(m_mutex);
        m_emptied.erase(folder);
    }
    m_inner.Close(folder);
}

LeftOutCounts CFilteredDirectorySource::Counts() const {
    LeftOutCounts counts;
    if (m_filter.LeavesOutNames())
        counts.excludedEntries = m_matcher.LeftOut();
    if (m_filter.since || m_filter.until)
        counts.filesOutsideRange = m_filesOutsideRange.load(std::memory_order_relaxed);
    const std::lock_guard lock(m_mutex);
    counts.mountPoints = static_cast<std::int64_t>(m_mountsLeftOut.size());
    counts.mountPointPaths = m_mountPaths;
    std::sort(counts.mountPointPaths.begin(), counts.mountPointPaths.end());
    return counts;
}
