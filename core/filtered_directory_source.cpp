#include "filtered_directory_source.h"

#include <cerrno>
#include <fnmatch.h>

bool MatchesAnyPattern(const char* name, const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns)
        if (::fnmatch(pattern.c_str(), name, 0) == 0)
            return true;
    return false;
}

std::string NormalisedPattern(std::string_view pattern) {
    if (pattern.find('/') == std::string_view::npos)
        return std::string(pattern);
    while (pattern.starts_with("./"))
        pattern.remove_prefix(2);
    while (pattern.starts_with('/'))
        pattern.remove_prefix(1);
    while (pattern.ends_with('/'))
        pattern.remove_suffix(1);
    return std::string(pattern);
}

bool WrittenInRange(std::int64_t lastWrite, const EntryFilter& filter) {
    return (!filter.since || lastWrite >= *filter.since) && (!filter.until || lastWrite < *filter.until);
}

CFilteredDirectorySource::CFilteredDirectorySource(IDirectorySource& source, EntryFilter filter)
    : CForwardingDirectorySource(source), m_filter(std::move(filter)) {
    for (const std::string& pattern : m_filter.excludedNames) {
        std::string normalised = NormalisedPattern(pattern);
        if (normalised.empty())
            continue;
        if (pattern.find('/') == std::string::npos)
            m_namePatterns.push_back(std::move(normalised));
        else
            m_pathPatterns.push_back(std::move(normalised));
    }
    if (m_filter.excludeVersionControl)
        m_namePatterns.insert(m_namePatterns.end(), std::begin(kVersionControlFolders),
                              std::end(kVersionControlFolders));
}

IDirectorySource::OpenResult CFilteredDirectorySource::OpenRoot(const std::string& path) {
    const OpenResult opened = m_inner.OpenRoot(path);
    if (opened.handle >= 0) {
        m_rootDevice = opened.id.device;
        m_rootOnPseudoFileSystem = m_inner.OnPseudoFileSystem(opened.handle);
        if (!m_pathPatterns.empty()) {
            const std::lock_guard lock(m_mutex);
            m_paths[opened.handle] = {};
        }
    }
    return opened;
}

IDirectorySource::OpenResult CFilteredDirectorySource::OpenChild(Handle parent, const char* name) {
    const OpenResult opened = m_inner.OpenChild(parent, name);
    if (opened.handle < 0)
        return opened;
    const bool leftOut = opened.id.device != m_rootDevice && LeavesOutFileSystemOf(opened);
    if (leftOut || !m_pathPatterns.empty()) {
        const std::lock_guard lock(m_mutex);
        if (leftOut) {
            m_emptied.insert(opened.handle);
            m_mountsLeftOut.insert({opened.id.device, opened.id.inode});
            m_anyEmptied.store(true, std::memory_order_relaxed);
        }
        if (!m_pathPatterns.empty()) {
            const std::string& parentPath = m_paths[parent];
            m_paths[opened.handle] = parentPath.empty() ? std::string(name) : parentPath + "/" + name;
        }
    }
    return opened;
}

// Whether the folder just opened on a file system other than the chosen folder's is not entered.
bool CFilteredDirectorySource::LeavesOutFileSystemOf(const OpenResult& opened) {
    if (m_filter.oneFileSystem)
        return true;
    if (m_rootOnPseudoFileSystem)
        return false;
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
    std::string path;
    if (m_anyEmptied.load(std::memory_order_relaxed) || !m_pathPatterns.empty()) {
        const std::lock_guard lock(m_mutex);
        if (m_emptied.contains(folder))
            return 0;
        if (!m_pathPatterns.empty())
            path = m_paths[folder];
    }
    if (m_namePatterns.empty() && m_pathPatterns.empty())
        return m_inner.List(folder, listing);
    CFolderListing everything;
    const int error = m_inner.List(folder, everything);
    std::int64_t excluded = 0;
    const std::size_t prefix = path.empty() ? 0 : path.size() + 1;
    if (prefix != 0)
        path += '/';
    for (std::size_t i = 0; i < everything.size(); ++i) {
        const char* name = everything.Name(i);
        bool matches = MatchesAnyPattern(name, m_namePatterns);
        if (!matches && !m_pathPatterns.empty()) {
            path.resize(prefix);
            path += name;
            for (const std::string& pattern : m_pathPatterns)
                matches = matches || ::fnmatch(pattern.c_str(), path.c_str(), FNM_PATHNAME) == 0;
        }
        if (matches)
            ++excluded;
        else
            listing.Add(name, everything.Kind(i));
    }
    m_excludedEntries.fetch_add(excluded, std::memory_order_relaxed);
    return error;
}

EntryTime CFilteredDirectorySource::ReadTime(Handle folder, const char* name) {
    const EntryTime time = m_inner.ReadTime(folder, name);
    if (time.error != 0 || time.folder || WrittenInRange(time.lastWrite, m_filter))
        return time;
    m_filesOutsideRange.fetch_add(1, std::memory_order_relaxed);
    return {ENOENT, false, 0};
}

void CFilteredDirectorySource::Close(Handle folder) {
    if (m_anyEmptied.load(std::memory_order_relaxed) || !m_pathPatterns.empty()) {
        const std::lock_guard lock(m_mutex);
        m_emptied.erase(folder);
        m_paths.erase(folder);
    }
    m_inner.Close(folder);
}

std::int64_t CFilteredDirectorySource::MountPointsLeftOut() const {
    const std::lock_guard lock(m_mutex);
    return static_cast<std::int64_t>(m_mountsLeftOut.size());
}

LeftOutCounts CFilteredDirectorySource::Counts() const {
    LeftOutCounts counts;
    if (m_filter.LeavesOutNames())
        counts.excludedEntries = ExcludedEntries();
    if (m_filter.since || m_filter.until)
        counts.filesOutsideRange = FilesOutsideRange();
    counts.mountPoints = MountPointsLeftOut();
    return counts;
}
