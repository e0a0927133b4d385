// Walks of real folder trees on disk through the POSIX listing: links, FIFOs, odd names, extreme
// times, permissions, bind mounts, chains deeper than PATH_MAX and many threads.
#include "period_histograms.h"
#include "posix_directory_source.h"
#include "stamp_store.h"
#include "test_tree.h"
#include "time_zone.h"
#include "without_permission_override.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

void ScanDisk(CStampStore& store, const std::string& path, int jobs = kDefaultJobs) {
    CPosixDirectorySource source;
    EXPECT_TRUE(store.Scan(path, source, jobs));
}

std::vector<std::int64_t> SortedTimes(const CStampStore& store) {
    std::vector<std::int64_t> times;
    for (CStampStore::Index i = 0; i < store.GetSize(); ++i)
        times.push_back(store.GetAt(i).m_lastWrite);
    std::sort(times.begin(), times.end());
    return times;
}

TEST(DiskWalk, ScanStartsFromEmptyAndKeepsThePathAsGiven) {
    CTestTree first;
    first.AddFile("old", 1);
    CTestTree second;
    second.AddFolder("build*");
    second.AddFile("build*/x", 2);
    second.AddFile("buildy", 3); // would match build* as a pattern over the parent
    CStampStore store;
    ScanDisk(store, first.Root());
    for (const std::string& path : {second.Path("build*"), second.Path("build*/"), second.Path("build*//")}) {
        ScanDisk(store, path);
        EXPECT_EQ(store.GetFolder(), path);
        EXPECT_EQ(SortedTimes(store), std::vector<std::int64_t>{2}) << path;
    }
}

TEST(DiskWalk, HiddenFilesAndFoldersCountLikeAnyOther) {
    CTestTree tree;
    tree.AddFile(".hidden", 10);
    tree.AddFile(".config/settings", 20);
    tree.AddFile("a/b/c/deep", 30);
    tree.AddFolder("only/folders/here");
    CStampStore store;
    ScanDisk(store, tree.Root());
    EXPECT_EQ(SortedTimes(store), (std::vector<std::int64_t>{10, 20, 30}));
    EXPECT_EQ(store.m_nFiles, 3);
    EXPECT_EQ(store.GetProblems().unreadableFolders, 0);
}

TEST(DiskWalk, EmptyTreesAndMissingFolders) {
    CTestTree tree;
    tree.AddFolder("x/y");
    tree.AddFile("plain", 5);
    CStampStore store;
    ScanDisk(store, tree.Path("x"));
    EXPECT_EQ(store.m_nFiles, 0);
    EXPECT_EQ(store.GetProblems().rootError, 0);

    ScanDisk(store, tree.Path("missing"));
    EXPECT_EQ(store.m_nFiles, 0);
    EXPECT_EQ(store.GetProblems().rootError, ENOENT);
    EXPECT_EQ(store.GetFolder(), tree.Path("missing"));

    ScanDisk(store, tree.Path("plain"));
    EXPECT_EQ(store.GetProblems().rootError, ENOTDIR);
}

TEST(DiskWalk, LinksAreFilesWithTheirOwnTimeAndAreNeverFollowed) {
    CTestTree tree;
    tree.AddFile("target/inside", 1000);
    tree.AddLink("to-target", "target", 2000);
    tree.AddLink("dangling", "nowhere", 3000);
    tree.AddLink("target/loop", "..", 4000);
    tree.AddLink("self", "self", 5000);
    CStampStore store;
    ScanDisk(store, tree.Root());
    EXPECT_EQ(SortedTimes(store), (std::vector<std::int64_t>{1000, 2000, 3000, 4000, 5000}));
}

TEST(DiskWalk, AChosenFolderThatIsALinkIsOpened) {
    CTestTree tree;
    tree.AddFile("real/f", 77);
    tree.AddLink("alias", "real", 1);
    CStampStore store;
    ScanDisk(store, tree.Path("alias"));
    EXPECT_EQ(SortedTimes(store), std::vector<std::int64_t>{77});
    EXPECT_EQ(store.GetFolder(), tree.Path("alias"));
}

TEST(DiskWalk, FifosAreCountedWithoutBeingOpened) {
    CTestTree tree;
    tree.AddFifo("pipe", 600); // opening it for reading would block the walk
    tree.AddFile("file", 700);
    CStampStore store;
    ScanDisk(store, tree.Root());
    EXPECT_EQ(SortedTimes(store), (std::vector<std::int64_t>{600, 700}));
}

TEST(DiskWalk, OddNamesAreWalked) {
    CTestTree tree;
    for (const std::string name :
         {"new\nline", "back\\slash", "star*", "quote\"'", "\xff\xfe bytes", " lead"})
        tree.AddFile(name + "/f", 1);
    CStampStore store;
    ScanDisk(store, tree.Root());
    EXPECT_EQ(store.m_nFiles, 6);
}

TEST(DiskWalk, ExtremeTimesAreKeptAndBinnedInTheirRealPeriod) {
    // tmpfs keeps any time; ext4 none before December 1901.
    const bool tmpfs = ::access("/dev/shm", W_OK) == 0;
    CTestTree tree(tmpfs ? "/dev/shm" : "");
    const std::int64_t year1900 = -2208988800; // 1900-01-01 00:00:00 UTC
    const std::int64_t year1902 = -2145916800;
    const std::vector<std::int64_t> times{
        tmpfs ? year1900 : year1902,
        -1,          // 1969-12-31 23:59:59
        2208988800,  // 2040-01-01 00:00:00
        10413792000, // 2300-01-01 00:00:00
    };
    for (std::size_t i = 0; i < times.size(); ++i)
        tree.AddFile("f" + std::to_string(i), times[i]);
    CStampStore store;
    ScanDisk(store, tree.Root());
    EXPECT_EQ(SortedTimes(store), times);

    CScopedTimeZone utc("UTC");
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    EXPECT_EQ(histograms.m_nBinned, 4);
    EXPECT_EQ(histograms.m_dayBins[0], 3);
    EXPECT_EQ(histograms.m_dayBins[1439], 1);
    EXPECT_EQ(histograms.m_yearBins[0], 3);
    EXPECT_EQ(histograms.m_yearBins[1459], 1);
    EXPECT_EQ(histograms.m_monthBins[30 * 48 + 47], 1); // 31st, 23:30 to 23:59
}

TEST(DiskWalk, UnreadableFolderWithRealPermissions) {
    CTestTree tree;
    tree.AddFile("open/a", 1);
    tree.AddFile("closed/b", 2);
    tree.SetMode("closed", 0);
    RunWithoutPermissionOverride([&] {
        CStampStore store;
        ScanDisk(store, tree.Root());
        EXPECT_EQ(SortedTimes(store), std::vector<std::int64_t>{1});
        EXPECT_EQ(store.GetProblems().unreadableFolders, 1);

        ScanDisk(store, tree.Path("closed"));
        EXPECT_EQ(store.GetProblems().rootError, EACCES);
    });
}

// Runs check in a forked child and returns its exit code (77 when it skipped).
template <typename Check> int InChild(Check check) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(check());
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

constexpr int kSkipped = 77;

TEST(DiskWalk, ABindMountOfAFolderInsideItselfIsNotEnteredAgain) {
    CTestTree tree;
    tree.AddFile("a/f", 1);
    tree.AddFile("a/b/g", 2);
    tree.AddFolder("a/b/inner");
    tree.AddFile("other/h", 3);
    tree.AddFolder("a/b/elsewhere");
    const int result = InChild([&] {
        // A private mount namespace of the child's own, gone when it exits.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(tree.Path("a").c_str(), tree.Path("a/b/inner").c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(tree.Path("other").c_str(), tree.Path("a/b/elsewhere").c_str(), nullptr, MS_BIND,
                    nullptr) != 0)
            return kSkipped;
        CStampStore store;
        ScanDisk(store, tree.Root());
        // a/f, a/b/g, other/h and, through the second mount, h once more.
        return SortedTimes(store) == std::vector<std::int64_t>{1, 2, 3, 3} &&
                       store.GetProblems().skippedLoops == 1
                   ? 0
                   : 1;
    });
    if (result == kSkipped)
        GTEST_SKIP() << "mount namespaces need privileges; the fed listing covers this";
    EXPECT_EQ(result, 0);
}

constexpr int kChainDepth = 10000;

void ExpectDeepChainScans(CTestTree& tree) {
    CStampStore store;
    ScanDisk(store, tree.Root());
    EXPECT_EQ(SortedTimes(store), (std::vector<std::int64_t>{111, 222}));
    EXPECT_EQ(store.GetProblems().unreadableFolders, 0);
    EXPECT_EQ(store.GetProblems().rootError, 0);
}

class DeepChain : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_tree = std::make_unique<CTestTree>();
        // Names long enough that the full path is far beyond PATH_MAX.
        s_tree->AddChain("chain", kChainDepth, "level", 111);
        s_tree->AddFile("top", 222);
    }
    static void TearDownTestSuite() { s_tree.reset(); }
    static std::unique_ptr<CTestTree> s_tree;
};
std::unique_ptr<CTestTree> DeepChain::s_tree;

TEST_F(DeepChain, ScansCompletely) {
    static_assert(kChainDepth * 6 > PATH_MAX);
    ExpectDeepChainScans(*s_tree);
}

TEST_F(DeepChain, ScansCompletelyWithFewDescriptors) {
    const int result = InChild([] {
        struct rlimit limit {};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = 256;
        if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
            return 3;
        CStampStore store;
        ScanDisk(store, s_tree->Root());
        return store.m_nFiles == 2 && store.GetProblems().unreadableFolders == 0 ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
}

} // namespace

namespace {

struct WalkResult {
    std::vector<std::int64_t> times;
    std::int64_t unreadableFolders = 0;
    std::int64_t skippedLoops = 0;
};

WalkResult WalkDisk(const std::string& path, int jobs) {
    CStampStore store;
    ScanDisk(store, path, jobs);
    WalkResult walk{{}, store.GetProblems().unreadableFolders, store.GetProblems().skippedLoops};
    for (const FileStamp& stamp : store.span())
        walk.times.push_back(stamp.m_lastWrite);
    return walk;
}

TEST(DiskWalk, ParallelWalksOfRealTreesMatchTheOneThreadWalkRecordForRecord) {
    CTestTree tree(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : ""); // quicker to fill
    tree.SetMode("", 0755); // nobody must be able to enter the tree
    std::mt19937 random(77);
    const std::vector<std::string> odd{"new\nline", "star*", " lead", "\xff\xfe", "quote\"'", "dot."};
    std::vector<std::string> folders{""};
    int unreadable = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string& parent =
            folders[folders.size() - 1 - random() % std::min<std::size_t>(folders.size(), 12)];
        const std::string name =
            (parent.empty() ? "" : parent + "/") + odd[random() % odd.size()] + std::to_string(i);
        switch (random() % 10) {
        case 0:
        case 1:
            tree.AddFolder(name);
            folders.push_back(name);
            break;
        case 2:
            tree.AddLink(name, random() % 2 ? ".." : "nowhere", i);
            break;
        case 3:
            if (random() % 8 == 0) { // unreadable, with something inside that must not be seen
                tree.AddFile(name + "/hidden", -7);
                tree.SetMode(name, 0);
                ++unreadable;
                break;
            }
            [[fallthrough]];
        default:
            tree.AddFile(name, 1000000 + i);
        }
    }
    // A folder that can be listed but not searched: none of its times can be read.
    tree.AddFile("listed-only/a", -5);
    tree.AddFile("listed-only/b", -6);
    tree.SetMode("listed-only", 0444);
    ++unreadable;
    constexpr int kBigFolder = 200000;
    tree.AddFolder("big");
    const int big = ::open(tree.Path("big").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(big, 0);
    for (int i = 0; i < kBigFolder; ++i) { // times differ, so that the order is checked
        const int fd = ::openat(big, std::to_string(i).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const struct timespec times[2] = {{i % 9973, 0}, {i % 9973, 0}};
        ::futimens(fd, times);
        ::close(fd);
    }
    ::close(big);

    RunWithoutPermissionOverride([&] {
        const WalkResult reference = WalkDisk(tree.Root(), 1);
        ASSERT_GE(reference.times.size(), std::size_t{kBigFolder});
        EXPECT_EQ(reference.unreadableFolders, unreadable);
        EXPECT_EQ(std::count(reference.times.begin(), reference.times.end(), -7) +
                      std::count(reference.times.begin(), reference.times.end(), -5),
                  0)
            << "a time from a folder that could not be read";
        for (const int jobs : {2, 3, 8}) {
            SCOPED_TRACE(jobs);
            const WalkResult walk = WalkDisk(tree.Root(), jobs);
            EXPECT_TRUE(walk.times == reference.times) << "the records differ from the one-thread walk's";
            EXPECT_EQ(walk.unreadableFolders, reference.unreadableFolders);
            EXPECT_EQ(walk.skippedLoops, reference.skippedLoops);
        }
    });
}

} // namespace
