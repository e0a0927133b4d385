#include "folder_walk.h"
#include "memory_directory_source.h"
#include "stamp_store.h"
#include "walk_control.h"

#include <atomic>
#include <chrono>
#include <cerrno>
#include <gtest/gtest.h>
#include <random>
#include <thread>
#include <vector>

namespace {

using Source = CMemoryDirectorySource;

std::vector<std::int64_t> Times(const CStampStore& store) {
    std::vector<std::int64_t> times;
    for (const FileStamp& stamp : store.span())
        times.push_back(stamp.m_lastWrite);
    return times;
}

struct WalkResult {
    std::vector<std::int64_t> times;
    ScanProblems problems;
    std::vector<std::string> paths; // each record's path below the chosen folder
};

constexpr int kMaxOpen = WalkLimits{}.maxOpen;

// Walks with the given number of threads; the results must not depend on it.
WalkResult Walk(Source& source, int jobs = 1, int maxOpen = kMaxOpen) {
    CStampStore store;
    store.KeepPlaces(PlaceDetail::Names);
    ScanProblems problems;
    {
        WalkLimits limits;
        limits.jobs = jobs;
        limits.maxOpen = maxOpen;
        EXPECT_TRUE(WalkFolderTree(source, store, problems, "root", {}, limits));
    }
    EXPECT_EQ(store.GetSize(), store.m_nFiles);
    EXPECT_EQ(source.OpenNow(), 0) << "every folder is closed after the walk";
    EXPECT_EQ(source.Misuses(), 0);
    std::vector<std::string> paths;
    for (CStampStore::Index i = 0; i < store.Places().FileCount(); ++i)
        paths.push_back(store.Places().RelativePath(i));
    EXPECT_EQ(paths.size(), static_cast<std::size_t>(store.GetSize()));
    return {Times(store), problems, paths};
}

TEST(FolderWalk, SubfolderContentsComeWhereTheSubfolderWasListed) {
    for (const bool kindsKnown : {true, false}) {
        Source source;
        source.AddFile(Source::kRoot, "a.txt", 1);
        const int b = source.AddFolder(Source::kRoot, "b");
        source.AddFile(b, "x.txt", 2);
        source.AddFolder(b, "empty");
        const int d = source.AddFolder(b, "d");
        source.AddFile(d, "y", 4);
        source.AddFile(Source::kRoot, "c.txt", 3);
        if (!kindsKnown) // only reading each entry's time tells folders from files
            source.SetKindsUnknown(Source::kRoot);
        for (const int jobs : {1, 3}) {
            const WalkResult walked = Walk(source, jobs);
            EXPECT_EQ(walked.times, (std::vector<std::int64_t>{1, 2, 4, 3}));
            EXPECT_EQ(walked.paths, (std::vector<std::string>{"a.txt", "b/x.txt", "b/d/y", "c.txt"}));
        }
    }
}

TEST(FolderWalk, DotsAreNeitherRecordedNorWalkedAndDeepFilesAreFound) {
    Source source;
    const int one = source.AddFolder(Source::kRoot, "one");
    const int two = source.AddFolder(one, "two");
    const int three = source.AddFolder(two, "three");
    source.AddFile(three, "deep", 42);
    const WalkResult result = Walk(source);
    EXPECT_EQ(result.times, std::vector<std::int64_t>{42});
    EXPECT_EQ(source.Opens(), 4);
}

TEST(FolderWalk, FoldersWithoutFilesGiveNothing) {
    Source source;
    const int a = source.AddFolder(Source::kRoot, "a");
    source.AddFolder(a, "empty");
    source.AddFolder(Source::kRoot, "b");
    const WalkResult result = Walk(source);
    EXPECT_TRUE(result.times.empty());
    EXPECT_EQ(result.problems.unreadableFolders, 0);
    EXPECT_EQ(result.problems.rootError, 0);
}

TEST(FolderWalk, UnreadableFoldersAreCountedAndTheirSiblingsStillWalked) {
    Source source;
    const int locked = source.AddFolder(Source::kRoot, "locked");
    source.AddFile(locked, "hidden", 1);
    source.SetOpenError(locked, EACCES);
    const int broken = source.AddFolder(Source::kRoot, "broken");
    source.AddFile(broken, "first", 2);
    source.AddFile(broken, "second", 3);
    source.SetListError(broken, 1, EIO); // "first", then an error
    const int deep = source.AddFolder(source.AddFolder(Source::kRoot, "a"), "deep");
    source.SetOpenError(deep, ENOENT);
    source.AddFile(Source::kRoot, "after", 4);
    const WalkResult result = Walk(source);
    EXPECT_EQ(result.times, (std::vector<std::int64_t>{2, 4}));
    EXPECT_EQ(result.problems.unreadableFolders, 3);
    EXPECT_EQ(result.problems.unreadable,
              (std::vector<UnreadableFolder>{{"locked", EACCES}, {"broken", EIO}, {"a/deep", ENOENT}}))
        << "each named below the chosen folder with its reason, in walk order";
    EXPECT_EQ(result.problems.rootError, 0);
}

TEST(FolderWalk, AnUnreadableChosenFolderKeepsItsReason) {
    Source source;
    source.AddFile(Source::kRoot, "f", 1);
    source.SetOpenError(Source::kRoot, EACCES);
    const WalkResult result = Walk(source);
    EXPECT_TRUE(result.times.empty());
    EXPECT_EQ(result.problems.rootError, EACCES);
    EXPECT_EQ(result.problems.unreadableFolders, 0);
}

TEST(FolderWalk, EntriesThatVanishAreSkippedButTimesThatCannotBeReadAreCounted) {
    Source source;
    source.AddFile(Source::kRoot, "a", 1);
    source.AddVanished(Source::kRoot, "gone");
    const int searchable = source.AddFolder(Source::kRoot, "searchable");
    source.AddVanished(searchable, "gone too");
    source.AddFile(searchable, "c", 3);
    const int listedOnly = source.AddFolder(Source::kRoot, "listed only");
    for (int i = 0; i < 5000; ++i) // several chunks, each of whose reads fails
        source.AddFile(listedOnly, "x" + std::to_string(i), 4);
    source.SetTimeError(listedOnly, EACCES);
    source.AddFile(Source::kRoot, "b", 2);
    for (const int jobs : {1, 4}) {
        const WalkResult result = Walk(source, jobs);
        EXPECT_EQ(result.times, (std::vector<std::int64_t>{1, 3, 2}));
        EXPECT_EQ(result.problems.unreadableFolders, 1)
            << "the folder is counted once, however many reads fail";
        EXPECT_EQ(result.problems.rootError, 0);
    }
    source.SetTimeError(Source::kRoot, EACCES);
    EXPECT_EQ(Walk(source).problems.rootError, EACCES) << "the chosen folder itself";
}

TEST(FolderWalk, AFolderThatIsItsOwnAncestorIsNotEnteredAgain) {
    Source source;
    const int a = source.AddFolder(Source::kRoot, "a");
    source.AddFile(a, "f", 1);
    source.AddFolderAlias(a, "mount-of-root", Source::kRoot);
    source.AddFolderAlias(a, "mount-of-a", a);
    const WalkResult result = Walk(source);
    EXPECT_EQ(result.times, std::vector<std::int64_t>{1});
    EXPECT_EQ(result.problems.skippedLoops, 2);
}

TEST(FolderWalk, AFolderReachedTwiceElsewhereIsWalkedEachTime) {
    Source source;
    const int shared = source.AddFolder(Source::kRoot, "shared");
    source.AddFile(shared, "f", 7);
    const int other = source.AddFolder(Source::kRoot, "other");
    source.AddFolderAlias(other, "again", shared);
    const WalkResult result = Walk(source);
    EXPECT_EQ(result.times, (std::vector<std::int64_t>{7, 7}));
    EXPECT_EQ(result.problems.skippedLoops, 0);
}

// A deep chain with a file and a sibling folder at every level: the walk must leave
// folders and come back to them many levels up.
void BuildComb(Source& source, int depth) {
    int folder = Source::kRoot;
    for (int level = 0; level < depth; ++level) {
        source.AddFile(folder, "before", level * 10);
        const int next = source.AddFolder(folder, "next");
        const int side = source.AddFolder(folder, "side");
        source.AddFile(side, "s", level * 10 + 1);
        source.AddFile(folder, "after", level * 10 + 2);
        folder = next;
    }
}

std::vector<std::int64_t> CombOrder(int depth) {
    std::vector<std::int64_t> order;
    for (int level = 0; level < depth; ++level)
        order.push_back(level * 10);
    for (int level = depth - 1; level >= 0; --level) {
        order.push_back(level * 10 + 1);
        order.push_back(level * 10 + 2);
    }
    return order;
}

// Raises a stop request once a number of folders have been listed, as a person pressing a
// key part way through would.
class CStoppingSource final : public CForwardingDirectorySource {
public:
    CStoppingSource(IDirectorySource& inner, WalkControl& control, int listings)
        : CForwardingDirectorySource(inner), m_control(control), m_listingsLeft(listings) {}
    int List(Handle folder, CFolderListing& listing) override {
        if (--m_listingsLeft == 0)
            m_control.stopRequested = true;
        return m_inner.List(folder, listing);
    }

private:
    WalkControl& m_control;
    std::atomic<int> m_listingsLeft;
};

TEST(FolderWalk, ReportsProgressAndStopsWhenAsked) {
    Source source;
    BuildComb(source, 400); // 1,200 files in 801 folders
    for (const int jobs : {1, 4}) {
        CStampStore store;
        WalkControl control;
        EXPECT_TRUE(store.Scan("comb", source, jobs, &control));
        EXPECT_EQ(store.m_nFiles, 1200);
        EXPECT_EQ(control.filesFound, 1200);
        EXPECT_EQ(control.foldersListed, 801);

        WalkControl stopping;
        CStoppingSource stopSoon(source, stopping, 100);
        store.AddStamp(1);
        EXPECT_FALSE(store.Scan("comb", stopSoon, jobs, &stopping));
        EXPECT_EQ(store.GetSize(), 0) << "a stopped walk leaves nothing";
        EXPECT_EQ(store.m_nFiles, 0);
        if (jobs == 1) { // more threads may list ahead before a single folder is appended
            EXPECT_EQ(stopping.foldersListed, 99);
        }
        EXPECT_LT(stopping.foldersListed, 801);
        EXPECT_EQ(source.OpenNow(), 0);
        EXPECT_EQ(source.Misuses(), 0);
    }
}

TEST(FolderWalk, KeepsAtMostTheBudgetOfFoldersOpenOnADeepTree) {
    for (const int jobs : {1, 4}) {
        for (const int maxOpen : {1, 2, 5, 64}) {
            Source source;
            BuildComb(source, 3000);
            const WalkResult result = Walk(source, jobs, maxOpen);
            EXPECT_EQ(result.times, CombOrder(3000)) << "budget " << maxOpen;
            // The chosen folder, the budget, and per thread one being listed and one reopened.
            EXPECT_LE(source.MostOpen(), maxOpen + 1 + 2 * jobs) << "budget " << maxOpen << " jobs " << jobs;
            EXPECT_EQ(result.problems.unreadableFolders, 0);
        }
    }
}

TEST(FolderWalk, OnOneThreadTheBudgetIsExactAndTheShallowestKeptFoldersCloseFirst) {
    for (const int maxOpen : {5, 64}) {
        Source source;
        BuildComb(source, 300); // 601 folders
        EXPECT_EQ(Walk(source, 1, maxOpen).times, CombOrder(300));
        // The kept folders, the chosen one and the one being opened.
        EXPECT_EQ(source.MostOpen(), maxOpen + 2) << "budget " << maxOpen;
        // A deeper kept folder is needed again sooner: closing the shallowest first, a folder
        // is opened again fewer than depth / budget times.
        EXPECT_LT(source.Opens(), 601 * (1 + 300 / maxOpen)) << "budget " << maxOpen;
    }
}

TEST(FolderWalk, GivesBackFoldersWhenTheSystemRunsOutOfDescriptors) {
    Source source;
    BuildComb(source, 500);
    source.SetOpenLimit(10); // fewer than the walk's own budget
    const WalkResult result = Walk(source);
    EXPECT_EQ(result.times, CombOrder(500));
    EXPECT_EQ(result.problems.unreadableFolders, 0);
    EXPECT_LE(source.MostOpen(), 10);
}

// Descriptors taken by other parts of the process while the walk runs: the walk was not told of
// the limit, and gives kept folders back as it meets it.
TEST(FolderWalk, GivesBackFoldersWhenALimitItWasNotToldOfIsReached) {
    for (const int jobs : {1, 4}) {
        Source source;
        BuildComb(source, 500);
        source.SetOpenLimit(10, true);
        const WalkResult result = Walk(source, jobs);
        EXPECT_EQ(result.times, CombOrder(500)) << "jobs " << jobs;
        EXPECT_EQ(result.problems.unreadableFolders, 0) << "jobs " << jobs;
    }
}

TEST(FolderWalk, RandomTreesGiveTheSameOrderWhateverTheBudget) {
    std::mt19937 random(1234);
    for (int round = 0; round < 20; ++round) {
        Source source;
        std::vector<int> folders{Source::kRoot};
        for (int i = 0; i < 400; ++i) {
            // Favour recent folders so that trees grow deep as well as wide.
            const std::size_t pick = folders.size() - 1 - random() % std::min<std::size_t>(folders.size(), 8);
            if (random() % 3 == 0)
                folders.push_back(source.AddFolder(folders[pick], "d" + std::to_string(i)));
            else
                source.AddFile(folders[pick], "f" + std::to_string(i), i);
        }
        const std::vector<std::int64_t> unbounded = Walk(source, 1, 100000).times;
        for (const int jobs : {1, 2, 7})
            for (const int maxOpen : {1, 3})
                EXPECT_EQ(Walk(source, jobs, maxOpen).times, unbounded)
                    << "round " << round << " jobs " << jobs << " budget " << maxOpen;
    }
}

// Counts time reads and raises a stop request after a number of them.
class CStopAfterReadsSource final : public CForwardingDirectorySource {
public:
    CStopAfterReadsSource(IDirectorySource& inner, WalkControl& control, int reads)
        : CForwardingDirectorySource(inner), m_control(control), m_readsBeforeStop(reads) {}
    EntryTime ReadTime(Handle folder, const char* name) override {
        if (++m_reads == m_readsBeforeStop)
            m_control.stopRequested = true;
        return m_inner.ReadTime(folder, name);
    }
    int Reads() const { return m_reads; }

private:
    WalkControl& m_control;
    const int m_readsBeforeStop;
    std::atomic<int> m_reads{0};
};

TEST(FolderWalk, AStopTakesEffectInsideAHugeFolderWhateverTheListingTells) {
    for (const bool kindsKnown : {true, false}) {
        Source source;
        const int huge = source.AddFolder(Source::kRoot, "huge");
        for (int i = 0; i < 60000; ++i)
            source.AddFile(huge, "f" + std::to_string(i), i);
        if (!kindsKnown)
            source.SetKindsUnknown(huge);
        for (const int jobs : {1, 4}) {
            WalkControl control;
            CStopAfterReadsSource stopping(source, control, 1000);
            CStampStore store;
            EXPECT_FALSE(store.Scan("root", stopping, jobs, &control));
            // Each thread finishes at most the stretch of reads it was in.
            EXPECT_LT(stopping.Reads(), 1000 + 300 * jobs) << "kinds known " << kindsKnown << " jobs " << jobs;
            EXPECT_EQ(source.OpenNow(), 0);
        }
    }
}

// Listing takes a while, as on a real disk, so that the threads' folders are open at once.
class CSlowListingSource final : public CForwardingDirectorySource {
public:
    using CForwardingDirectorySource::CForwardingDirectorySource;
    int List(Handle folder, CFolderListing& listing) override {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        return m_inner.List(folder, listing);
    }
};

TEST(FolderWalk, OutOfDescriptorsTheWalkWaitsForOneAndRecordsTheSameWhateverTheThreads) {
    Source tree;
    for (int top = 0; top < 30; ++top) {
        const int folder = tree.AddFolder(Source::kRoot, "t" + std::to_string(top));
        for (int sub = 0; sub < 20; ++sub) {
            const int leaf = tree.AddFolder(folder, "s" + std::to_string(sub));
            tree.AddFile(leaf, "f", top * 100 + sub);
        }
    }
    CSlowListingSource source(tree);
    const std::vector<std::int64_t> unlimited = Walk(tree).times;
    ASSERT_EQ(unlimited.size(), 600U);
    tree.SetOpenLimit(6); // fewer than the threads
    for (const int jobs : {1, 4, 16}) {
        CStampStore store;
        ScanProblems problems;
        WalkLimits limits;
        limits.jobs = jobs;
        EXPECT_TRUE(WalkFolderTree(source, store, problems, "root", {}, limits));
        EXPECT_EQ(Times(store), unlimited) << "jobs " << jobs;
        EXPECT_EQ(problems.unreadableFolders, 0) << "jobs " << jobs;
        EXPECT_EQ(tree.OpenNow(), 0);
        EXPECT_LE(tree.MostOpen(), 6);
    }
    // Room for the chosen folder and one more: no folder two levels down can ever be opened, and
    // the walk must say so rather than wait for ever.
    tree.SetOpenLimit(2);
    for (const int jobs : {1, 16}) {
        const WalkResult walked = Walk(tree, jobs);
        EXPECT_TRUE(walked.times.empty());
        EXPECT_EQ(walked.problems.unreadableFolders, 600) << "jobs " << jobs;
    }
}

} // namespace
