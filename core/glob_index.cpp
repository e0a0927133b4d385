#include "glob_index.h"

#include "glob_pattern.h"

void CGlobIndex::Add(std::string_view pattern, std::uint32_t id) {
    const GlobLiterals literals = LiteralsOf(pattern);
    if (literals.literal)
        m_names[literals.prefix].push_back(id);
    else if (!literals.prefix.empty() && literals.prefix.size() >= literals.suffix.size())
        m_starts.Add(literals.prefix, id);
    else if (!literals.suffix.empty())
        m_ends.Add(literals.suffix, id);
    else
        m_others.push_back(id);
}

void CGlobIndex::Affixes::Add(const std::string& text, std::uint32_t id) {
    texts[text].push_back(id);
    const auto at = std::lower_bound(lengths.begin(), lengths.end(), text.size());
    if (at == lengths.end() || *at != text.size())
        lengths.insert(at, text.size());
}
