#include "analysis_period.h"
#include "files_at.h"
#include "folder_tree.h"
#include "stamp_store.h"
#include "time_zone.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Index = CStampStore::Index;

// A store filled through its sink: the top folder, "a" and "a/b", one file each time given.
struct Place {
    int folder; // 0 top, 1 a, 2 a/b, 3 none (a time listed without its path)
    std::int64_t time;
};
CStampStore Filled(PlaceDetail detail, const std::vector<Place>& files) {
    CStampStore store;
    store.KeepPlaces(detail);
    const auto top = store.AddFolder(IStampSink::kNoFolder, "");
    const auto a = store.AddFolder(top, "a");
    const IStampSink::FolderIndex folders[] = {top, a, store.AddFolder(a, "b"), IStampSink::kNoFolder};
    int n = 0;
    for (const Place& file : files)
        store.AddFile(folders[file.folder], "f" + std::to_string(n++), file.time);
    return store;
}

TEST(StampPlaces, EachDetailKeepsWhatItPromises) {
    const std::vector<Place> files{{2, 10}, {0, 20}, {1, 30}};
    for (const PlaceDetail detail : {PlaceDetail::None, PlaceDetail::Folders, PlaceDetail::Names}) {
        const CStampStore store = Filled(detail, files);
        ASSERT_EQ(store.GetSize(), 3);
        EXPECT_EQ(store[2].m_lastWrite, 30) << "times are kept whatever the detail";
        const CStampPlaces& places = store.Places();
        if (detail == PlaceDetail::None) {
            EXPECT_EQ(places.FileCount(), 0);
            EXPECT_FALSE(store.KeepsPlaces());
            continue;
        }
        ASSERT_EQ(places.FileCount(), 3);
        std::vector<std::string> paths;
        for (Index i = 0; i < 3; ++i)
            paths.push_back(places.RelativePath(i));
        EXPECT_EQ(FolderListPath(places, places.FolderOf(0)), "a/b");
        EXPECT_EQ(FolderListPath(places, places.FolderOf(1)), ".");
        if (detail == PlaceDetail::Folders) {
            EXPECT_EQ(places.NameOf(0), "");
            EXPECT_EQ(paths, (std::vector<std::string>{"a/b", "", "a"}));
        } else {
            EXPECT_EQ(places.NameOf(0), "f0");
            EXPECT_EQ(paths, (std::vector<std::string>{"a/b/f0", "f1", "a/f2"}));
        }
    }
}

TEST(StampPlaces, JoinPathWritesAPathOutInFull) {
    EXPECT_EQ(JoinPath("/home/me", "a/b"), "/home/me/a/b");
    EXPECT_EQ(JoinPath("/", "a"), "/a");
    EXPECT_EQ(JoinPath("rel/", "x"), "rel/x");
    EXPECT_EQ(JoinPath("/home/me", ""), "/home/me");
}

TEST(FilesAt, RecordsInAWrappingRangeAndTheirFolders) {
    CScopedTimeZone utc("UTC");
    // Day view: bin = minute of the day. Bins 1439, 0 and 1 are in the range 1439..1;
    // 1438 and 2 lie just outside it on either side.
    const std::vector<Place> files{{0, 1438 * 60}, {1, 1439 * 60 + 59}, {2, 0},     {1, 86400 + 60},
                                   {0, 2 * 60},    {2, 86400 + 30},     {0, 90000}, {2, 60}};
    const CStampStore store = Filled(PlaceDetail::Folders, files);
    const BinRange wrapping{1439, 3, 1440};
    const std::vector<Index> records = RecordsInBins(store, VIEW_DAY, wrapping);
    EXPECT_EQ(records, (std::vector<Index>{1, 2, 3, 5, 7}));

    const CFolderTree tree(store, records);
    ASSERT_EQ(tree.Children(CFolderTree::kRoot).size(), 1u);
    const CFolderTree::Node a = tree.Children(CFolderTree::kRoot)[0];
    ASSERT_EQ(tree.Children(a).size(), 1u);
    const CFolderTree::Node b = tree.Children(a)[0];
    EXPECT_EQ(tree.Name(store.Places(), a), "a");
    EXPECT_EQ(tree.FileCount(a), 5) << "with its subfolder's";
    EXPECT_EQ(tree.Name(store.Places(), b), "b");
    EXPECT_EQ(tree.FileCount(b), 3);
    EXPECT_EQ(std::vector<Index>(tree.Files(a).begin(), tree.Files(a).end()), (std::vector<Index>{1, 3}));
    EXPECT_EQ(std::vector<Index>(tree.Files(b).begin(), tree.Files(b).end()), (std::vector<Index>{2, 5, 7}));
    EXPECT_EQ(FormatShare(3, 5), "60.0%");
    EXPECT_EQ(FormatShare(0, 0), "0.0%");

    EXPECT_TRUE(RecordsInBins(store, VIEW_DAY, {}).empty()) << "an empty range holds nothing";
    EXPECT_EQ(RecordsInBins(store, VIEW_DAY, {5, 1440, 1440}).size(), files.size()) << "a whole period";
}

TEST(FilesAt, RecordTimesAreWrittenAsTheClockReads) {
    CScopedTimeZone zone("Asia/Kathmandu"); // +05:30 in 1970
    EXPECT_EQ(FormatRecordTime(500, TimeBasis::Utc), "1970-01-01 05:38:20");
    EXPECT_EQ(FormatRecordTime(500, TimeBasis::WallClock), "1970-01-01 00:08:20") << "as the clock read";
    for (const TimeBasis basis : {TimeBasis::Utc, TimeBasis::WallClock})
        EXPECT_EQ(FormatRecordTime(INT64_MAX, basis), "@9223372036854775807");
}

} // namespace
