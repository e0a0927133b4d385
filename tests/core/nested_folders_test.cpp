#include "nested_folders.h"

#include <gtest/gtest.h>

namespace {

// Folders by their chains of (device, inode), own first: / is (1, 2), /home (1, 3), /home/a
// (1, 4), /home/a/sub (1, 5), and /home/a/usb (2, 9) a mount point below /home/a.
TEST(NestedFolders, TheOutermostGivenFolderThatsWalkReachesIsKept) {
    const std::vector<FolderId> root{{1, 2}}, home{{1, 3}, {1, 2}}, a{{1, 4}, {1, 3}, {1, 2}},
        sub{{1, 5}, {1, 4}, {1, 3}, {1, 2}}, usb{{2, 9}, {1, 4}, {1, 3}, {1, 2}}, unread;
    struct Case {
        std::vector<std::vector<FolderId>> chains;
        bool oneFileSystem;
        std::vector<std::size_t> kept;
        std::vector<std::string> notes;
    };
    const Case cases[] = {
        {{sub, a, home},
         false,
         {2},
         {"'0' is inside '2': analysed once", "'1' is inside '2': analysed once"}},
        {{a, a, unread, unread}, false, {0, 2, 3}, {"'1' is the same folder as '0': analysed once"}},
        {{a, usb}, false, {0}, {"'1' is inside '0': analysed once"}},
        {{a, usb}, true, {0, 1}, {}},
        {{root, usb, a}, true, {0, 1}, {"'2' is inside '0': analysed once"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < c.chains.size(); ++i)
            names.push_back(std::to_string(i));
        const NestedFolderChoice choice = ChooseOutermostFolders(names, c.chains, c.oneFileSystem);
        EXPECT_EQ(choice.kept, c.kept) << c.notes.size();
        EXPECT_EQ(choice.notes, c.notes);
    }
}

} // namespace
