#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Ids of patterns by a text, found by a std::string_view without making a std::string.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
using IdsByText = std::unordered_map<std::string, std::vector<std::uint32_t>, TextHash, std::equal_to<>>;

// Shell patterns indexed by the text every name they match starts or ends with, so that a name
// is tried against the few patterns that can match it rather than against all of them: a
// pattern without wildcards by its whole name, any other by the longer of its literal start and
// end. Patterns with neither ("*", "?x*") are tried against every name.
class CGlobIndex {
public:
    void Add(std::string_view pattern, std::uint32_t id);

    // Calls tryPattern(id) for every pattern that may match name, until it returns true;
    // whether it did.
    template <typename Try> bool AnyOf(std::string_view name, Try tryPattern) const {
        const auto tryAll = [&](const std::vector<std::uint32_t>& ids) {
            return std::any_of(ids.begin(), ids.end(), tryPattern);
        };
        const auto tryAffixes = [&](const Affixes& affixes, bool atStart) {
            for (const std::size_t length : affixes.lengths) {
                if (length > name.size())
                    return false;
                const auto hit =
                    affixes.texts.find(atStart ? name.substr(0, length) : name.substr(name.size() - length));
                if (hit != affixes.texts.end() && tryAll(hit->second))
                    return true;
            }
            return false;
        };
        const auto same = m_names.find(name);
        return (same != m_names.end() && tryAll(same->second)) || tryAffixes(m_starts, true) ||
               tryAffixes(m_ends, false) || tryAll(m_others);
    }

private:
    // Patterns by a literal start or end, with the lengths of those texts, shortest first.
    struct Affixes {
        IdsByText texts;
        std::vector<std::size_t> lengths;
        void Add(const std::string& text, std::uint32_t id);
    };

    IdsByText m_names;
    Affixes m_starts;
    Affixes m_ends;
    std::vector<std::uint32_t> m_others;
};
