// Leaving entries out of a walk by name and by time.
#include "filtered_directory_source.h"
#include "memory_directory_source.h"
#include "stamp_store.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

std::vector<std::int64_t> Times(const CStampStore& store) {
    std::vector<std::int64_t> times;
    for (const FileStamp& stamp : store.span())
        times.push_back(stamp.m_lastWrite);
    std::sort(times.begin(), times.end());
    return times;
}

// A project folder: its own files 1..3, a clone's history, a dependency folder and build output.
class FilteredWalk : public testing::Test {
protected:
    void SetUp() override {
        m_source.AddFile(CMemoryDirectorySource::kRoot, "notes.txt", 1);
        const int git = m_source.AddFolder(CMemoryDirectorySource::kRoot, ".git");
        m_source.AddFile(m_source.AddFolder(git, "objects"), "pack", 100);
        const int src = m_source.AddFolder(CMemoryDirectorySource::kRoot, "src");
        m_source.AddFile(src, "main.c", 2);
        m_source.AddFile(src, "main.o", 101);
        m_source.AddFile(src, ".hg", 3); // a file with a version-control name is left out as well
        m_source.AddVanished(src, "gone.o");
        const int modules = m_source.AddFolder(CMemoryDirectorySource::kRoot, "node_modules");
        m_source.AddFile(m_source.AddFolder(modules, "left-pad"), "index.js", 102);
        m_source.SetOpenError(modules, EACCES); // would count as unreadable if it were opened
    }

    // Walks the tree through a filter; returns the filter's counts.
    std::pair<std::int64_t, std::int64_t> Walk(const EntryFilter& filter) {
        CFilteredDirectorySource source(m_source, filter);
        m_store.Scan("/project", source);
        return {source.ExcludedEntries(), source.FilesOutsideRange()};
    }

    CMemoryDirectorySource m_source;
    CStampStore m_store;
};

TEST_F(FilteredWalk, MatchingFoldersAreNeverOpenedAndMatchingFilesNeverRecorded) {
    EntryFilter filter;
    filter.excludedNames = {"node_modules", "*.o"};
    filter.excludedNames.insert(filter.excludedNames.end(), std::begin(kVersionControlFolders),
                                std::end(kVersionControlFolders));
    const auto [excluded, outside] = Walk(filter);
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(m_store.m_nFiles, 2);
    EXPECT_EQ(excluded, 5) << ".git, node_modules, main.o, .hg and the vanished gone.o";
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(m_source.Opens(), 2) << "only the chosen folder and src are opened";
    EXPECT_EQ(m_store.GetProblems().unreadableFolders, 0);
    EXPECT_EQ(m_source.OpenNow(), 0);
    EXPECT_EQ(m_source.Misuses(), 0);
}

TEST_F(FilteredWalk, PatternsMatchTheNameAlone) {
    auto [excluded, outside] = Walk({{".*"}, {}, {}});
    EXPECT_EQ(excluded, 2) << ".git and .hg";
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{1, 2, 101}));
    EXPECT_EQ(m_store.GetProblems().unreadableFolders, 1) << "node_modules was tried";

    std::tie(excluded, outside) = Walk({{"src/main.c", "objects", "*.txt"}, {}, {}});
    EXPECT_EQ(excluded, 2) << "a path never matches; objects below .git and notes.txt do";
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{2, 3, 101}));

    EXPECT_FALSE(MatchesAnyPattern("main.c", {}));
    EXPECT_TRUE(MatchesAnyPattern("main.c", {"[lm]ain.?"}));
}

TEST_F(FilteredWalk, TheTimeRangeKeepsFilesFromSinceUpToButNotIncludingUntil) {
    auto [excluded, outside] = Walk({{}, 2, 101});
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{2, 3, 100}));
    EXPECT_EQ(outside, 2) << "notes.txt (1) and main.o (101); folders are never left out for a time";
    EXPECT_EQ(excluded, 0);

    std::tie(excluded, outside) = Walk({{"*.o"}, {}, 3});
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(excluded, 2) << "main.o and gone.o";
    EXPECT_EQ(outside, 2) << "pack (100) and .hg (3); main.o is counted for its name alone";
}

TEST_F(FilteredWalk, TheRangesEdgesHoldWhereTheListingGivesNoKinds) {
    // Folders are then told apart only by reading their times, which lie outside every range here.
    for (const int folder : {CMemoryDirectorySource::kRoot, 1, 3})
        m_source.SetKindsUnknown(folder);
    auto [excluded, outside] = Walk({{}, 2, 3});
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{2})) << "one second: since kept, until not";
    EXPECT_EQ(outside, 4) << "notes.txt, pack, main.o and .hg; no folder";
    EXPECT_EQ(m_store.GetProblems().unreadableFolders, 1) << "node_modules was entered as a folder";

    std::tie(excluded, outside) = Walk({{}, 3, 3});
    EXPECT_TRUE(Times(m_store).empty()) << "an empty range keeps nothing";
    EXPECT_EQ(outside, 5);
    EXPECT_EQ(excluded, 0);
}

// Every folder is open at once and each thread lists and reads its own, as a parallel walk would.
class ConcurrentSource final : public IDirectorySource {
public:
    static constexpr int kFolders = 4;
    static constexpr int kEntries = 200000;
    OpenResult OpenRoot(const std::string&) override { return {}; }
    OpenResult OpenChild(Handle, const char*) override { return {}; }
    int List(Handle, CFolderListing& listing) override {
        for (int i = 0; i < kEntries; ++i)
            listing.Add(i % 2 == 0 ? "skip.o" : "keep.c", EntryKind::Other);
        return 0;
    }
    EntryTime ReadTime(Handle folder, const char*) override {
        return {0, false, m_reads[static_cast<std::size_t>(folder)]++ % 4};
    }
    void Close(Handle) override {}

private:
    std::array<std::atomic<int>, kFolders> m_reads{};
};

TEST(FilteredDirectorySource, CountsStayExactWhenThreadsReadAtOnce) {
    ConcurrentSource inner;
    CFilteredDirectorySource source(inner, {{"*.o"}, {}, 3});
    std::vector<std::thread> threads;
    std::atomic<std::int64_t> kept = 0;
    for (int folder = 0; folder < ConcurrentSource::kFolders; ++folder)
        threads.emplace_back([&, folder] {
            CFolderListing listing;
            source.List(folder, listing);
            for (std::size_t i = 0; i < listing.size(); ++i)
                kept += source.ReadTime(folder, listing.Name(i)).error == 0;
        });
    for (std::thread& thread : threads)
        thread.join();
    constexpr std::int64_t kAll = std::int64_t{ConcurrentSource::kFolders} * ConcurrentSource::kEntries;
    EXPECT_EQ(source.ExcludedEntries(), kAll / 2);
    EXPECT_EQ(source.FilesOutsideRange(), kAll / 8) << "every fourth time read is 3, outside the range";
    EXPECT_EQ(kept, kAll / 2 - kAll / 8);
}

} // namespace
