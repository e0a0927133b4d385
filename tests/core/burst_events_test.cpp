#include "burst_events.h"
#include "stamp_store.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Folders of the planted stores: the top, a, a/b, a/c and d, a second top (several folders
// analysed); and none (a time listed without its path).
enum Folder { kTop, kA, kAB, kAC, kD, kOtherTop, kNone };
struct Written {
    Folder folder;
    std::int64_t time;
    int files = 1;
};

CStampStore Planted(const std::vector<Written>& writes, PlaceDetail detail = PlaceDetail::Folders) {
    CStampStore store;
    store.KeepPlaces(detail);
    const auto top = store.AddFolder(IStampSink::kNoFolder, "");
    const auto a = store.AddFolder(top, "a");
    const IStampSink::FolderIndex folders[] = {top,
                                               a,
                                               store.AddFolder(a, "b"),
                                               store.AddFolder(a, "c"),
                                               store.AddFolder(top, "d"),
                                               store.AddFolder(IStampSink::kNoFolder, "/other"),
                                               IStampSink::kNoFolder};
    for (const Written& write : writes)
        for (int i = 0; i < write.files; ++i)
            store.AddFile(folders[write.folder], "f", write.time);
    return store;
}

// Each burst as "start-end: files, main folder's files in its path".
std::vector<std::string> Described(const CStampStore& store, const BurstEvents& bursts) {
    std::vector<std::string> described;
    for (const BurstEvent& burst : bursts.largest)
        described.push_back(
            std::to_string(burst.start) + "-" + std::to_string(burst.end) + ": " +
            std::to_string(burst.files) + ", " + std::to_string(burst.mainFolder.files) + " in " +
            (burst.mainFolder.files > 0 ? FolderListPath(store.Places(), burst.mainFolder.folder)
                                        : std::string("-")));
    return described;
}

TEST(BurstEvents, CloseSecondsIntoOneFolderAreOneBurst) {
    // Twelve bursts ten seconds apart, of 2 to 7 files, for the order and the cut at ten.
    std::vector<Written> twelve;
    for (int i = 0; i < 12; ++i)
        twelve.push_back({kD, 1000 + 10 * i, 2 + i % 6});
    const struct {
        const char* name;
        std::vector<Written> writes;
        std::vector<std::string> bursts;
    } cases[] = {
        {"one file is no burst", {{kA, 7}}, {}},
        {"several seconds, one empty second between, are one burst",
         {{kAB, 104, 2}, {kAB, 100, 2}, {kAB, 101, 2}, {kAB, 102}},
         {"100-104: 7, 7 in a/b"}},
        {"a gap longer than the limit splits; of bursts as large the earlier first",
         {{kA, 103, 2}, {kA, 100, 2}, {kA, -20, 3}},
         {"-20--20: 3, 3 in a", "100-100: 2, 2 in a", "103-103: 2, 2 in a"}},
        {"two folders writing in the same seconds: the one holding more than half",
         {{kAB, 100, 3}, {kD, 100, 2}, {kAB, 101, 3}, {kD, 101, 2}},
         {"100-101: 10, 6 in a/b"}},
        {"close seconds into other folders split",
         {{kAB, 100, 3}, {kD, 101, 2}, {kAC, 102, 4}},
         {"102-102: 4, 4 in a/c", "100-100: 3, 3 in a/b", "101-101: 2, 2 in d"}},
        {"close seconds in two analysed folders split",
         {{kAB, 100, 2}, {kOtherTop, 101, 3}},
         {"101-101: 3, 3 in /other", "100-100: 2, 2 in a/b"}},
        {"the deepest folder holding more than half of the whole burst, its subfolders' included",
         {{kAB, 100, 2}, {kAC, 101, 2}, {kTop, 101}, {kAB, 102}},
         {"100-102: 6, 5 in a"}},
        {"seconds spread over the whole tree join one another",
         {{kA, 100}, {kD, 100}, {kA, 101}, {kD, 101}},
         {"100-101: 4, 4 in ."}},
        {"times listed without their paths join by time alone and name no folder",
         {{kNone, 100, 2}, {kNone, 102}, {kAB, 103, 2}},
         {"100-102: 3, 0 in -", "103-103: 2, 2 in a/b"}},
        {"the ten largest",
         twelve,
         {"1050-1050: 7, 7 in d", "1110-1110: 7, 7 in d", "1040-1040: 6, 6 in d", "1100-1100: 6, 6 in d",
          "1030-1030: 5, 5 in d", "1090-1090: 5, 5 in d", "1020-1020: 4, 4 in d", "1080-1080: 4, 4 in d",
          "1010-1010: 3, 3 in d", "1070-1070: 3, 3 in d"}},
    };
    for (const auto& test : cases) {
        const CStampStore store = Planted(test.writes);
        EXPECT_EQ(Described(store, FindBurstEvents(store, 10)), test.bursts) << test.name;
    }

    const BurstEvents all = FindBurstEvents(Planted(twelve), 3);
    EXPECT_EQ(all.largest.size(), 3u);
    EXPECT_EQ(all.count, 12) << "every burst counts, not only the largest";
    EXPECT_EQ(all.files, 54);

    const std::vector<Written> twoFolders = {{kAB, 100, 3}, {kD, 101, 2}};
    const CStampStore timesOnly = Planted(twoFolders, PlaceDetail::None);
    EXPECT_EQ(Described(timesOnly, FindBurstEvents(timesOnly, 10)),
              std::vector<std::string>{"100-101: 5, 0 in -"})
        << "without places the seconds join by time alone";
    CStampStore commits; // a history's commits share one place
    commits.KeepPlaces(PlaceDetail::Folders);
    commits.Begin("repo", RecordKind::Commits, TimeBasis::WallClock);
    const auto repository = commits.AddFolder(IStampSink::kNoFolder, "");
    for (const std::int64_t time : {100, 101, 101})
        commits.AddFile(repository, "", time);
    EXPECT_EQ(Described(commits, FindBurstEvents(commits, 10)),
              std::vector<std::string>{"100-101: 3, 0 in -"});
    EXPECT_TRUE(FindBurstEvents(CStampStore{}, 10).largest.empty());
}

TEST(BurstEvents, StatusSaysSoWhenBurstsHoldMoreThanHalf) {
    const struct {
        std::int64_t bursts, files, records;
        RecordKind kind;
        std::optional<std::string> text;
    } cases[] = {
        {40, 68'433, 100'000, RecordKind::Files, "68% of these files were written in 40 bursts"},
        {1, 3, 4, RecordKind::Commits, "75% of these commits were written in 1 burst"},
        {2, 999, 1000, RecordKind::Files, "99% of these files were written in 2 bursts"},
        {5, 50, 100, RecordKind::Files, std::nullopt},
        {0, 0, 0, RecordKind::Files, std::nullopt},
    };
    for (const auto& test : cases)
        EXPECT_EQ(BurstShareText({{}, test.bursts, test.files}, test.records, test.kind), test.text)
            << test.files << " of " << test.records;
}

} // namespace
