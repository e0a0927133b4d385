#pragma once

#include "stamp_store.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The folders holding a selection of a store's records as a tree with subtotals, the way a
// disk-usage browser shows space: each folder counts the selected files of its whole subtree,
// children largest first (of equal ones, the one the walk met first), and each folder's own files
// below it. A chain of folders that hold no files of their own and one subfolder each is one
// node, named by the joined path ("lib/google-cloud-sdk/lib"), standing for its deepest folder.
// Below the invisible root lie the analysed folder's subfolders; the files of the analysed folder
// itself gather in a node named ".", and times listed without a path in one of their own.
// Costs 40 bytes a node and 8 a file; needs places kept at least at the Folders detail.
class CFolderTree {
public:
    using Node = std::uint32_t;
    static constexpr Node kRoot = 0;

    // What the nodes and the files of each node can be sorted by; walk order settles ties.
    enum class Order : std::uint8_t {
        Name,    // byte order of the names
        Files,   // the files of the subtree; a node's own files in walk order
        Written, // the last write, a folder's being the newest of its subtree
    };

    CFolderTree() = default;
    // The tree of records (some of the store's, in walk order), largest first.
    CFolderTree(const CStampStore& store, std::span<const CStampStore::Index> records);

    Node NodeCount() const { return static_cast<Node>(m_nodes.size()); }
    std::int64_t TotalFiles() const { return m_nodes.empty() ? 0 : m_nodes[kRoot].files; }

    // The node's subfolder nodes and its own files, in the order last sorted.
    std::span<const Node> Children(Node node) const;
    std::span<const CStampStore::Index> Files(Node node) const;
    Node Parent(Node node) const { return m_nodes[node].parent; }
    // The selected files of the node's whole subtree, and the newest time among them.
    std::int64_t FileCount(Node node) const { return m_nodes[node].files; }
    std::int64_t Newest(Node node) const { return m_nodes[node].newest; }
    // The folder a node stands for: the deepest of its chain; the analysed folder for "." and
    // kNoFolder for the times listed without a path.
    CStampPlaces::FolderIndex Folder(Node node) const { return m_nodes[node].folder; }
    // The node's name below its parent's: "lib/google-cloud-sdk/lib", ".", or "(times without a
    // path)".
    std::string Name(const CStampPlaces& places, Node node) const;

    // The nodes to show open at first: the largest branch, as far down as it holds more than
    // half of the files, root excluded.
    std::vector<Node> MajorityBranch() const;

    // Sorts every node's children and files by the order given, largest (or last) first when
    // descending.
    void Sort(const CStampStore& store, Order order, bool descending);

private:
    struct NodeEntry {
        CStampPlaces::FolderIndex folder;
        Node parent;
        std::int64_t files;
        std::int64_t newest;
    };

    // Sorts every node's children (or its files) with the order given, keeping ties as they are.
    template <typename Before> void SortChildren(Before before);
    template <typename Before> void SortFiles(Before before);

    std::vector<NodeEntry> m_nodes;
    std::vector<Node> m_childStart; // each node's children begin here in m_children, one past the last
    std::vector<Node> m_children;
    std::vector<std::size_t> m_fileStart; // each node's files begin here in m_files, one past the last
    std::vector<CStampStore::Index> m_files;
};
