#include "files_at.h"
#include "folder_tree.h"
#include "stamp_store.h"
#include "time_list.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Index = CStampStore::Index;

// A store read from a time list ("TIME PATH" lines), as File > Open Time List reads one.
CStampStore FromList(std::string list) {
    CStampStore store;
    store.KeepPlaces(PlaceDetail::Names);
    std::FILE* file = fmemopen(list.data(), list.size(), "r");
    EXPECT_TRUE(CTimeListReader(store).Read(file).Good());
    std::fclose(file);
    return store;
}

// The tree as "COUNT SHARE NAME" lines, each node before its children and indented two spaces
// a level; "*" marks the nodes open at first.
std::vector<std::string> Lines(const CFolderTree& tree, const CStampPlaces& places) {
    std::vector<std::string> lines;
    const std::vector<CFolderTree::Node> open = tree.MajorityBranch();
    const auto add = [&](const auto& self, CFolderTree::Node node, std::size_t depth) -> void {
        for (const CFolderTree::Node child : tree.Children(node)) {
            const bool opened = std::find(open.begin(), open.end(), child) != open.end();
            lines.push_back((opened ? "*" : "") + std::to_string(tree.FileCount(child)) + ' ' +
                            FormatShare(tree.FileCount(child), tree.TotalFiles()) + ' ' +
                            std::string(2 * depth, ' ') + tree.Name(places, child));
            self(self, child, depth + 1);
        }
    };
    add(add, CFolderTree::kRoot, 0);
    return lines;
}

const char* const kInstall = "10 lib/google-cloud-sdk/lib/core/a.py\n"
                             "9 lib/google-cloud-sdk/lib/core/b.py\n"
                             "10 lib/google-cloud-sdk/lib/x.py\n"
                             "11 lib/gcc/x86_64-linux-gnu/12/adainclude/s.ads\n"
                             "12 README\n"
                             "13 bin/ls\n"
                             "10 lib/google-cloud-sdk/lib/core/c.py\n"
                             "10 lib/google-cloud-sdk/lib/api/d.py\n";

TEST(FolderTree, SubtotalsLargestFirstWithChainsAsOneNode) {
    const struct {
        const char* name;
        std::string list;
        std::vector<Index> selected; // all records when empty
        std::vector<std::string> lines;
    } cases[] = {
        {"an install: its chain is one node, opened while it holds more than half",
         kInstall,
         {},
         {"*6 75.0% lib", "*5 62.5%   google-cloud-sdk/lib", "3 37.5%     core", "1 12.5%     api",
          "1 12.5%   gcc/x86_64-linux-gnu/12/adainclude", "1 12.5% .", "1 12.5% bin"}},
        {"absolute paths, times without a path and a relative path, in walk order at equal counts",
         "5 /usr/lib/a\n5 /usr/lib/b\n6\n7 /usr/share/c\n8 rel/d\n",
         {0, 1, 2, 3, 4},
         {"*3 60.0% /usr", "2 40.0%   lib", "1 20.0%   share", "1 20.0% (times without a path)",
          "1 20.0% rel"}},
        {"a selection folds the chains of what it holds; half is not more than half",
         "5 /usr/lib/a\n5 /usr/lib/b\n6\n7 /usr/share/c\n8 rel/d\n",
         {1, 4},
         {"1 50.0% /usr/lib", "1 50.0% rel"}},
        {"nothing selected", "5 a/b\n", {}, {}},
    };
    for (const auto& test : cases) {
        const CStampStore store = FromList(test.list);
        std::vector<Index> records = test.selected;
        if (records.empty() && !test.lines.empty())
            for (Index record = 0; record < store.GetSize(); ++record)
                records.push_back(record);
        const CFolderTree tree(store, records);
        EXPECT_EQ(Lines(tree, store.Places()), test.lines) << test.name;
        EXPECT_EQ(tree.TotalFiles(), static_cast<std::int64_t>(records.size())) << test.name;
    }
}

} // namespace
