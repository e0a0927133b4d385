#include "filtered_directory_source.h"

#include <cerrno>
#include <fnmatch.h>

bool MatchesAnyPattern(const char* name, const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns)
        if (::fnmatch(pattern.c_str(), name, 0) == 0)
            return true;
    return false;
}

bool WrittenInRange(std::int64_t lastWrite, const EntryFilter& filter) {
    return (!filter.since || lastWrite >= *filter.since) && (!filter.until || lastWrite < *filter.until);
}

CFilteredDirectorySource::CFilteredDirectorySource(IDirectorySource& source, EntryFilter filter)
    : CForwardingDirectorySource(source), m_filter(std::move(filter)) {}

int CFilteredDirectorySource::List(Handle folder, CFolderListing& listing) {
    if (m_filter.excludedNames.empty())
        return m_inner.List(folder, listing);
    CFolderListing everything;
    const int error = m_inner.List(folder, everything);
    std::int64_t excluded = 0;
    for (std::size_t i = 0; i < everything.size(); ++i) {
        if (MatchesAnyPattern(everything.Name(i), m_filter.excludedNames))
            ++excluded;
        else
            listing.Add(everything.Name(i), everything.Kind(i));
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
