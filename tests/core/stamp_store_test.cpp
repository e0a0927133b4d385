// The file-time store: emptying, moving, growing, and a scan through a listing held in memory.
#include "memory_directory_source.h"
#include "stamp_store.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <utility>

namespace {

TEST(StampStore, StartsEmptyAScanReplacesWhatItHeldAndResetEmptiesIt) {
    CStampStore store;
    EXPECT_EQ(store.GetSize(), 0);
    EXPECT_EQ(store.m_nFiles, 0);
    EXPECT_EQ(store.GetFolder(), "");

    CMemoryDirectorySource source;
    source.AddFile(CMemoryDirectorySource::kRoot, "a", 100);
    store.AddStamp(99); // a scan starts from empty
    store.Scan("folder", source);
    ASSERT_EQ(store.m_nFiles, 1);
    EXPECT_EQ(store.GetAt(0).m_lastWrite, 100);
    EXPECT_EQ(store.GetFolder(), "folder");
    store.Reset();
    EXPECT_EQ(store.GetSize(), 0);
    EXPECT_EQ(store.GetCapacity(), 0);
    EXPECT_EQ(store.m_nFiles, 0);
    EXPECT_EQ(store.GetFolder(), "");
}

TEST(StampStore, MovingHandsOverEverythingAndLeavesAnEmptyStore) {
    CMemoryDirectorySource source;
    source.AddFile(CMemoryDirectorySource::kRoot, "a", 5);
    source.AddFile(CMemoryDirectorySource::kRoot, "b", 6);
    source.SetListError(CMemoryDirectorySource::kRoot, 1, EIO); // "b" is never listed
    CStampStore walked;
    walked.Scan("folder", source);
    CStampStore shown(std::move(walked));
    EXPECT_EQ(shown.m_nFiles, 1);
    EXPECT_EQ(shown.GetFolder(), "folder");
    EXPECT_EQ(shown.GetProblems().rootError, EIO);
    EXPECT_EQ(walked.GetSize(), 0);
    EXPECT_EQ(walked.m_nFiles, 0);
    EXPECT_EQ(walked.GetFolder(), "");
    EXPECT_EQ(walked.GetProblems().rootError, 0);
    walked.Scan("other", source);
    shown = std::move(walked);
    EXPECT_EQ(shown.GetFolder(), "other");
    EXPECT_EQ(shown.GetAt(0).m_lastWrite, 5);
    EXPECT_EQ(walked.m_nFiles, 0);
    EXPECT_EQ(walked.GetFolder(), "");
}

// The records grow by half the size at a time (at least 4): 1, 5, 9, 13, 19, 28, 42, 63.
TEST(StampStore, AppendingGrowsTheCapacityGeometrically) {
    CStampStore store;
    for (int i = 0; i < 6; ++i)
        store.AddStamp(i);
    EXPECT_EQ(store.GetCapacity(), 9);
    for (int i = 6; i < 43; ++i)
        store.AddStamp(i);
    EXPECT_EQ(store.GetCapacity(), 63);
    EXPECT_EQ(store.m_nFiles, 43);
}

TEST(StampStore, RunningOutOfMemoryLeavesAnEmptyStoreAndClosesEverything) {
    CMemoryDirectorySource source;
    int folder = CMemoryDirectorySource::kRoot;
    for (int level = 0; level < 100; ++level) {
        source.AddFile(folder, "f", level);
        folder = source.AddFolder(folder, "d");
    }
    for (const int jobs : {1, 4}) {
        source.RunOutOfMemoryAfter(150);
        CStampStore store;
        store.Scan("deep", source, jobs);
        EXPECT_EQ(store.GetSize(), 0);
        EXPECT_EQ(store.m_nFiles, 0);
        EXPECT_EQ(store.GetProblems().rootError, ENOMEM);
        EXPECT_EQ(source.OpenNow(), 0);
        EXPECT_EQ(source.Misuses(), 0);

        source.RunOutOfMemoryAfter(-1);
        store.Scan("deep", source, jobs); // a new analysis starts cleanly
        EXPECT_EQ(store.m_nFiles, 100);
        EXPECT_EQ(store.GetProblems().rootError, 0);
    }
}

} // namespace
