#include "nested_folders.h"

#include <gtest/gtest.h>

namespace {

// A folder below a mount point is reached by the walk of a folder above it unless the walk stays
// on one file system. Chains of (device, inode), own first: / is (1, 2), /a (1, 4) and /a/usb
// (2, 9), a mount point.
TEST(NestedFolders, AFolderBeyondAMountPointIsKeptWhenTheWalkStaysOnOneFileSystem) {
    const std::vector<FolderId> root{{1, 2}}, a{{1, 4}, {1, 2}}, usb{{2, 9}, {1, 4}, {1, 2}};
    const std::vector<std::string> names{"/", "/a/usb", "/a"};
    const std::vector<std::vector<FolderId>> chains{root, usb, a};
    const NestedFolderChoice crossing = ChooseOutermostFolders(names, chains, false);
    EXPECT_EQ(crossing.kept, std::vector<std::size_t>{0});
    EXPECT_EQ(crossing.notes, (std::vector<std::string>{"'/a/usb' is inside '/': analysed once",
                                                        "'/a' is inside '/': analysed once"}));
    const NestedFolderChoice staying = ChooseOutermostFolders(names, chains, true);
    EXPECT_EQ(staying.kept, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(staying.notes, std::vector<std::string>{"'/a' is inside '/': analysed once"});
}

} // namespace
