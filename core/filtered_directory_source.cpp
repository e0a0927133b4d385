#include "filtered_directory_source.h"

#include <cstring>
#include <fnmatch.h>

bool MatchesAnyPattern(std::string_view name, const std::vector<std::string>& patterns) {
    if (patterns.empty())
        return false;
    // fnmatch wants a terminated name; entry names are short, so a stack copy does.
    char shortName[256];
    std::string longName;
    const char* terminated = shortName;
    if (name.size() < sizeof shortName) {
        std::memcpy(shortName, name.data(), name.size());
        shortName[name.size()] = '\0';
    } else {
        longName.assign(name);
        terminated = longName.c_str();
    }
    for (const std::string& pattern : patterns)
        if (::fnmatch(pattern.c_str(), terminated, 0) == 0)
            return true;
    return false;
}

bool WrittenInRange(std::int64_t lastWrite, const EntryFilter& filter) {
    return (!filter.since || lastWrite >= *filter.since) && (!filter.until || lastWrite < *filter.until);
}

CFilteredDirectorySource::CFilteredDirectorySource(IDirectorySource& source, EntryFilter filter)
    : m_source(source), m_filter(std::move(filter)) {}

IDirectorySource::ReadResult CFilteredDirectorySource::Next(Handle folder, DirectoryEntry& entry,
                                                            int& error) {
    for (;;) {
        const ReadResult result = m_source.Next(folder, entry, error);
        if (result != ReadResult::Entry || entry.name == "." || entry.name == "..")
            return result;
        if (MatchesAnyPattern(entry.name, m_filter.excludedNames)) {
            m_excludedEntries.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        if (entry.type == DirectoryEntry::Type::File && !WrittenInRange(entry.lastWrite, m_filter)) {
            m_filesOutsideRange.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        return result;
    }
}
