#pragma once

#include "directory_source.h"
#include "entry_filter.h"
#include "glob_index.h"
#include "glob_pattern.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The name and path rules of a filter compiled once for a walk: name patterns in a CGlobIndex,
// path patterns by their most telling literal part and its place in the path, so that ten
// thousand patterns cost an entry a few lookups rather than ten thousand matches. Counts what
// it leaves out; safe to call from several threads at once.
class CEntryMatcher final : public IEntryScreen {
public:
    explicit CEntryMatcher(const EntryFilter& filter);

    bool IsEmpty() const { return m_nameRules.empty() && m_pathRules.empty(); }
    // Whether the entry called name inside the folders given (from below the analysed folder
    // down) is left out.
    bool LeavesOut(std::span<const char* const> folders, const char* name, bool folder) const;
    // Entries left out by Screen and LeavesOutFolder.
    std::int64_t LeftOut() const { return m_leftOut.load(std::memory_order_relaxed); }

    bool NeedsFolders() const override { return !m_pathRules.empty(); }
    void Screen(std::span<const char* const> folders, CFolderListing& listing) override;
    bool LeavesOutFolder(std::span<const char* const> folders, const char* name) override;

private:
    void IndexPathRules();
    bool CanMatchBelow(const LeaveOutPattern& rule, std::span<const char* const> folders) const;
    std::vector<std::uint32_t> PathRulesLiveIn(std::span<const char* const> folders) const;
    bool Matches(std::span<const char* const> folders, const std::vector<std::uint32_t>& live,
                 const char* name, bool folder) const;

    std::vector<LeaveOutPattern> m_nameRules;
    CGlobIndex m_names;
    std::vector<LeaveOutPattern> m_pathRules;
    std::vector<IdsByText> m_pathRulesByPart;        // by the place of the part in the path
    std::vector<std::uint32_t> m_unindexedPathRules; // without a literal part at a fixed place
    std::atomic<std::int64_t> m_leftOut{0};
};
