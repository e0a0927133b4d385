#include "folder_tree.h"

#include <algorithm>
#include <limits>

namespace {

using FolderIndex = CStampPlaces::FolderIndex;
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t kNoTime = std::numeric_limits<std::int64_t>::min();

// A folder of the selection while the tree is built. Slots are made parents first, in the order
// the records first reach them, so a parent's slot comes before its children's and, of two
// siblings, the one the walk met first comes first.
struct Slot {
    FolderIndex folder;
    std::uint32_t parent; // a slot; 0 is the root
    std::uint32_t children = 0;
    std::uint32_t node = kNone; // the node it becomes, unless it folds into its one child
    std::int64_t own = 0;
    std::int64_t files = 0;
    std::int64_t newest = kNoTime;
};

// Gives each folder that holds selected records, and each of its ancestors, a slot.
class CSlots {
public:
    explicit CSlots(const CStampPlaces& places)
        : m_places(places), m_slotOf(places.FolderCount(), kNone), m_slots{{CStampPlaces::kNoFolder, kNone}} {
    }

    // The slot of a record's folder: kNoFolder gathers the times listed without a path, and a
    // folder without a name (the analysed folder) holds its own files, both below the root.
    std::uint32_t Of(FolderIndex folder) {
        if (folder == CStampPlaces::kNoFolder) {
            if (m_withoutPath == kNone)
                m_withoutPath = Add(folder, 0);
            return m_withoutPath;
        }
        if (m_slotOf[folder] != kNone)
            return m_slotOf[folder];
        // Up to the first ancestor that has a slot, or to the top, then down making slots.
        m_chain.clear();
        std::uint32_t parent = 0;
        for (FolderIndex up = folder;;) {
            m_chain.push_back(up);
            if (m_places.FolderName(up).empty())
                break;
            const FolderIndex next = m_places.ParentOf(up);
            if (next == CStampPlaces::kNoFolder || m_places.FolderName(next).empty())
                break;
            if (m_slotOf[next] != kNone) {
                parent = m_slotOf[next];
                break;
            }
            up = next;
        }
        for (auto down = m_chain.rbegin(); down != m_chain.rend(); ++down)
            parent = m_slotOf[*down] = Add(*down, parent);
        return parent;
    }

    std::vector<Slot>& Slots() { return m_slots; }

private:
    std::uint32_t Add(FolderIndex folder, std::uint32_t parent) {
        m_slots.push_back({folder, parent});
        return static_cast<std::uint32_t>(m_slots.size() - 1);
    }

    const CStampPlaces& m_places;
    std::vector<std::uint32_t> m_slotOf; // by folder
    std::vector<Slot> m_slots;
    std::vector<FolderIndex> m_chain;
    std::uint32_t m_withoutPath = kNone;
};

} // namespace

CFolderTree::CFolderTree(const CStampStore& store, std::span<const CStampStore::Index> records) {
    const CStampPlaces& places = store.Places();
    const auto folderOf = [&](CStampStore::Index record) {
        return record < places.FileCount() ? places.FolderOf(record) : CStampPlaces::kNoFolder;
    };
    CSlots slots(places);
    for (const CStampStore::Index record : records) {
        Slot& slot = slots.Slots()[slots.Of(folderOf(record))];
        ++slot.own;
        slot.newest = std::max(slot.newest, store[record].m_lastWrite);
    }
    std::vector<Slot>& slot = slots.Slots();

    // Subtotals, children before their parents.
    for (std::size_t s = slot.size(); s-- > 0;) {
        slot[s].files += slot[s].own;
        if (s == 0)
            break;
        Slot& parent = slot[slot[s].parent];
        parent.files += slot[s].files;
        parent.newest = std::max(parent.newest, slot[s].newest);
        ++parent.children;
    }

    // A folder with no files of its own and one child folds into that child, which takes its
    // place below the nearest folder that does not fold. Nodes keep the order of their slots.
    std::vector<Node> shownParent(slot.size(), kNone); // the node a slot's node lies below
    for (std::size_t s = 0; s < slot.size(); ++s) {
        if (s > 0) {
            const Slot& parent = slot[slot[s].parent];
            shownParent[s] = parent.node == kNone ? shownParent[slot[s].parent] : parent.node;
        }
        if (s == 0 || slot[s].own > 0 || slot[s].children != 1) {
            slot[s].node = static_cast<Node>(m_nodes.size());
            m_nodes.push_back({slot[s].folder, shownParent[s], slot[s].files, slot[s].newest});
        }
    }

    // Each node's children, then its files, in node order.
    m_childStart.assign(m_nodes.size() + 1, 0);
    for (Node node = 1; node < NodeCount(); ++node)
        ++m_childStart[m_nodes[node].parent + 1];
    for (std::size_t node = 1; node < m_childStart.size(); ++node)
        m_childStart[node] += m_childStart[node - 1];
    m_children.resize(m_nodes.size() - 1);
    {
        std::vector<Node> next(m_childStart.begin(), m_childStart.end() - 1);
        for (Node node = 1; node < NodeCount(); ++node)
            m_children[next[m_nodes[node].parent]++] = node;
    }
    m_fileStart.assign(m_nodes.size() + 1, 0);
    for (const Slot& s : slot)
        if (s.node != kNone)
            m_fileStart[s.node + 1] = static_cast<std::size_t>(s.own);
    for (std::size_t node = 1; node < m_fileStart.size(); ++node)
        m_fileStart[node] += m_fileStart[node - 1];
    m_files.resize(records.size());
    {
        std::vector<std::size_t> next(m_fileStart.begin(), m_fileStart.end() - 1);
        for (const CStampStore::Index record : records)
            m_files[next[slot[slots.Of(folderOf(record))].node]++] = record;
    }
    SortChildren([this](Node a, Node b) { return m_nodes[a].files > m_nodes[b].files; });
}

template <typename Before> void CFolderTree::SortChildren(Before before) {
    for (Node node = 0; node < NodeCount(); ++node)
        std::stable_sort(m_children.begin() + m_childStart[node], m_children.begin() + m_childStart[node + 1],
                         before);
}

std::span<const CFolderTree::Node> CFolderTree::Children(Node node) const {
    return std::span<const Node>(m_children)
        .subspan(m_childStart[node], m_childStart[node + 1] - m_childStart[node]);
}

std::span<const CStampStore::Index> CFolderTree::Files(Node node) const {
    return std::span<const CStampStore::Index>(m_files).subspan(m_fileStart[node],
                                                                m_fileStart[node + 1] - m_fileStart[node]);
}

std::string CFolderTree::Name(const CStampPlaces& places, Node node) const {
    const FolderIndex folder = m_nodes[node].folder;
    if (folder == CStampPlaces::kNoFolder)
        return node == kRoot ? std::string() : "(times without a path)";
    // The names from the folder up to the parent node's folder, or to the top.
    const FolderIndex stop =
        m_nodes[node].parent == kRoot ? CStampPlaces::kNoFolder : m_nodes[m_nodes[node].parent].folder;
    std::vector<std::string_view> names;
    for (FolderIndex up = folder;
         up != stop && up != CStampPlaces::kNoFolder && !places.FolderName(up).empty();
         up = places.ParentOf(up))
        names.push_back(places.FolderName(up));
    if (names.empty())
        return ".";
    std::string name;
    for (auto part = names.rbegin(); part != names.rend(); ++part) {
        if (!name.empty() && !name.ends_with('/'))
            name += '/';
        name += *part;
    }
    return name;
}

std::vector<CFolderTree::Node> CFolderTree::MajorityBranch() const {
    std::vector<Node> branch;
    for (Node node = kRoot; !m_nodes.empty();) {
        const std::span<const Node> children = Children(node);
        // The largest child; of equal ones, the first the walk met.
        const auto largest = std::min_element(children.begin(), children.end(), [this](Node a, Node b) {
            return m_nodes[a].files != m_nodes[b].files ? m_nodes[a].files > m_nodes[b].files : a < b;
        });
        if (largest == children.end() || 2 * m_nodes[*largest].files <= TotalFiles())
            break;
        node = *largest;
        branch.push_back(node);
    }
    return branch;
}

void CFolderTree::Sort(const CStampStore& store, Order order, bool descending) {
    // Ties stay in walk order, which node numbers and record indices follow.
    const auto by = [descending](const auto& a, const auto& b, auto tieA, auto tieB) {
        if (a != b)
            return descending ? b < a : a < b;
        return tieA < tieB;
    };
    const CStampPlaces& places = store.Places();
    switch (order) {
    case Order::Name: {
        std::vector<std::string> names(m_nodes.size());
        for (Node node = 1; node < NodeCount(); ++node)
            names[node] = Name(places, node);
        SortChildren([&](Node a, Node b) { return by(names[a], names[b], a, b); });
        SortFiles([&](CStampStore::Index a, CStampStore::Index b) {
            return by(places.NameOf(a), places.NameOf(b), a, b);
        });
        break;
    }
    case Order::Files:
        SortChildren([&](Node a, Node b) { return by(m_nodes[a].files, m_nodes[b].files, a, b); });
        SortFiles([](CStampStore::Index a, CStampStore::Index b) { return a < b; });
        break;
    case Order::Written:
        SortChildren([&](Node a, Node b) { return by(m_nodes[a].newest, m_nodes[b].newest, a, b); });
        SortFiles([&](CStampStore::Index a, CStampStore::Index b) {
            return by(store[a].m_lastWrite, store[b].m_lastWrite, a, b);
        });
        break;
    }
}

template <typename Before> void CFolderTree::SortFiles(Before before) {
    for (Node node = 0; node < NodeCount(); ++node)
        std::sort(m_files.begin() + static_cast<std::ptrdiff_t>(m_fileStart[node]),
                  m_files.begin() + static_cast<std::ptrdiff_t>(m_fileStart[node + 1]), before);
}
