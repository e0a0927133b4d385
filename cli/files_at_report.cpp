#include "files_at_report.h"

#include "commit_record.h"
#include "files_at.h"
#include "files_at_point.h"
#include "folder_tree.h"
#include "stamp_store.h"
#include "text_escape.h"

#include <ostream>
#include <utility>
#include <vector>

void WriteFilesAtList(std::ostream& out, const CStampStore& store, const FilesAtPoint& files) {
    for (const CStampStore::Index record : files.records) {
        out << FormatRecordTime(store[record].m_lastWrite, store.Basis());
        // A time read from a list may come without its path.
        if (store.Kind() == RecordKind::Commits)
            out << '\t' << DisplayText(CommitListName(store.Places().NameOf(record)));
        else if (store.Places().FolderOf(record) != CStampPlaces::kNoFolder)
            out << '\t' << DisplayText(store.Places().RelativePath(record));
        out << '\n';
    }
}

void WriteFilesAtSummary(std::ostream& out, const CStampStore& store, const FilesAtPoint& files) {
    out << FilesAtPointTitle(files) << '\n';
    const CFolderTree tree(store, files.records);
    // Each folder before its children, indented two spaces a level below the analysed folder.
    std::vector<std::pair<CFolderTree::Node, std::size_t>> pending; // a node and its depth
    const auto pushChildren = [&](CFolderTree::Node node, std::size_t depth) {
        const std::span<const CFolderTree::Node> children = tree.Children(node);
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.emplace_back(*child, depth);
    };
    pushChildren(CFolderTree::kRoot, 0);
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        out << tree.FileCount(node) << '\t' << FormatShare(tree.FileCount(node), tree.TotalFiles()) << '\t'
            << std::string(2 * depth, ' ') << DisplayText(tree.Name(store.Places(), node)) << '\n';
        pushChildren(node, depth + 1);
    }
}
