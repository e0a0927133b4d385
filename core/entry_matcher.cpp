#include "entry_matcher.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// The parts of a path rule that stand at a fixed place: those before its first "**".
std::size_t FixedParts(const LeaveOutPattern& rule) {
    return static_cast<std::size_t>(std::find(rule.parts.begin(), rule.parts.end(), "**") -
                                    rule.parts.begin());
}

} // namespace

CEntryMatcher::CEntryMatcher(const EntryFilter& filter) {
    std::vector<std::string_view> patterns(filter.excludedNames.begin(), filter.excludedNames.end());
    if (filter.excludeVersionControl)
        patterns.insert(patterns.end(), std::begin(kVersionControlFolders), std::end(kVersionControlFolders));
    for (const std::string_view text : patterns) {
        std::optional<LeaveOutPattern> pattern = LeaveOutPattern::Read(text);
        if (!pattern)
            continue;
        if (pattern->anchored) {
            m_pathRules.push_back(std::move(*pattern));
        } else {
            m_names.Add(pattern->parts.front(), static_cast<std::uint32_t>(m_nameRules.size()));
            m_nameRules.push_back(std::move(*pattern));
        }
    }
    IndexPathRules();
}

// Indexes each path rule by the literal part at a fixed place that the fewest rules share.
void CEntryMatcher::IndexPathRules() {
    std::map<std::pair<std::size_t, std::string>, std::size_t> sharing;
    std::vector<std::vector<std::pair<std::size_t, std::string>>> keys(m_pathRules.size());
    for (std::size_t id = 0; id < m_pathRules.size(); ++id) {
        const LeaveOutPattern& rule = m_pathRules[id];
        for (std::size_t place = 0; place < FixedParts(rule); ++place)
            if (GlobLiterals literals = LiteralsOf(rule.parts[place]); literals.literal) {
                keys[id].emplace_back(place, std::move(literals.prefix));
                ++sharing[keys[id].back()];
            }
    }
    for (std::size_t id = 0; id < m_pathRules.size(); ++id) {
        const auto rarest =
            std::min_element(keys[id].begin(), keys[id].end(),
                             [&](const auto& a, const auto& b) { return sharing[a] < sharing[b]; });
        if (rarest == keys[id].end()) {
            m_unindexedPathRules.push_back(static_cast<std::uint32_t>(id));
            continue;
        }
        if (m_pathRulesByPart.size() <= rarest->first)
            m_pathRulesByPart.resize(rarest->first + 1);
        m_pathRulesByPart[rarest->first][rarest->second].push_back(static_cast<std::uint32_t>(id));
    }
}

// Whether the rule's fixed parts match the folders as far as they go, and it can be as deep as
// an entry of the last of them.
bool CEntryMatcher::CanMatchBelow(const LeaveOutPattern& rule, std::span<const char* const> folders) const {
    const std::size_t fixed = FixedParts(rule);
    if (fixed == rule.parts.size() ? rule.parts.size() != folders.size() + 1 : fixed > folders.size() + 1)
        return false;
    for (std::size_t place = 0; place < std::min(fixed, folders.size()); ++place)
        if (!GlobMatches(rule.parts[place], folders[place]))
            return false;
    return true;
}

// The path rules that may match an entry of the folder other than those indexed by its own name.
std::vector<std::uint32_t> CEntryMatcher::PathRulesLiveIn(std::span<const char* const> folders) const {
    std::vector<std::uint32_t> live;
    const auto keepLive = [&](const std::vector<std::uint32_t>& ids) {
        for (const std::uint32_t id : ids)
            if (CanMatchBelow(m_pathRules[id], folders))
                live.push_back(id);
    };
    for (std::size_t place = 0; place < std::min(folders.size(), m_pathRulesByPart.size()); ++place)
        if (const auto hit = m_pathRulesByPart[place].find(std::string_view(folders[place]));
            hit != m_pathRulesByPart[place].end())
            keepLive(hit->second);
    keepLive(m_unindexedPathRules);
    return live;
}

bool CEntryMatcher::Matches(std::span<const char* const> folders, const std::vector<std::uint32_t>& live,
                            const char* name, bool folder) const {
    const auto nameMatches = [&](std::uint32_t id) {
        const LeaveOutPattern& rule = m_nameRules[id];
        return (folder || !rule.foldersOnly) && GlobMatches(rule.parts.front(), name);
    };
    if (m_names.AnyOf(name, nameMatches))
        return true;
    const auto pathMatches = [&](std::uint32_t id) {
        const LeaveOutPattern& rule = m_pathRules[id];
        return (folder || !rule.foldersOnly) && rule.MatchesPath(folders, name);
    };
    if (folders.size() < m_pathRulesByPart.size())
        if (const auto hit = m_pathRulesByPart[folders.size()].find(std::string_view(name));
            hit != m_pathRulesByPart[folders.size()].end() &&
            std::any_of(hit->second.begin(), hit->second.end(), pathMatches))
            return true;
    return std::any_of(live.begin(), live.end(), pathMatches);
}

bool CEntryMatcher::LeavesOut(std::span<const char* const> folders, const char* name, bool folder) const {
    return Matches(folders, PathRulesLiveIn(folders), name, folder);
}

void CEntryMatcher::Screen(std::span<const char* const> folders, CFolderListing& listing) {
    const std::vector<std::uint32_t> live = PathRulesLiveIn(folders);
    CFolderListing kept; // made only once an entry is left out
    std::int64_t leftOut = 0;
    for (std::size_t i = 0; i < listing.size(); ++i) {
        if (!Matches(folders, live, listing.Name(i), listing.Kind(i) == EntryKind::Folder)) {
            if (leftOut > 0)
                kept.Add(listing.Name(i), listing.Kind(i));
            continue;
        }
        if (leftOut++ == 0)
            for (std::size_t before = 0; before < i; ++before)
                kept.Add(listing.Name(before), listing.Kind(before));
    }
    if (leftOut == 0)
        return;
    listing = std::move(kept);
    m_leftOut.fetch_add(leftOut, std::memory_order_relaxed);
}

bool CEntryMatcher::LeavesOutFolder(std::span<const char* const> folders, const char* name) {
    if (!LeavesOut(folders, name, true))
        return false;
    m_leftOut.fetch_add(1, std::memory_order_relaxed);
    return true;
}
