// Leaving entries out of a walk by name, path, time and file system.
#include "entry_matcher.h"
#include "filtered_directory_source.h"
#include "memory_directory_source.h"
#include "posix_directory_source.h"
#include "pseudo_file_system.h"
#include "stamp_store.h"
#include "test_tree.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
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

EntryFilter Filter(std::vector<std::string> names, std::optional<std::int64_t> since = {},
                   std::optional<std::int64_t> until = {}, bool versionControl = false,
                   bool oneFileSystem = false) {
    return {std::move(names), {}, versionControl, oneFileSystem, since, until};
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
        const LeftOutCounts counts = source.Counts(); // none where the filter did not ask
        return {counts.excludedEntries.value_or(0), counts.filesOutsideRange.value_or(0)};
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
    auto [excluded, outside] = Walk(Filter({".*"}));
    EXPECT_EQ(excluded, 2) << ".git and .hg";
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{1, 2, 101}));
    EXPECT_EQ(m_store.GetProblems().unreadableFolders, 1) << "node_modules was tried";

    std::tie(excluded, outside) = Walk(Filter({"objects", "*.txt"}));
    EXPECT_EQ(excluded, 2) << "objects below .git and notes.txt";
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{2, 3, 101}));
}

// A pattern with a '/' matches the path below the chosen folder, however it is written; '*'
// stays within one folder there. Version-control folders are one switch.
TEST_F(FilteredWalk, PatternsWithASlashMatchTheRelativePath) {
    const struct {
        std::vector<std::string> patterns;
        bool versionControl;
        std::vector<std::int64_t> kept;
        std::int64_t excluded;
    } cases[] = {
        {{"src/main.c"}, false, {1, 3, 100, 101}, 1},
        {{"/src/*.o", "./src/.hg"}, false, {1, 2, 100}, 3}, // main.o, gone.o, .hg
        {{"*/main.c"}, false, {1, 3, 100, 101}, 1},
        {{".git/objects/"}, true, {1, 2, 101}, 2}, // .git by the switch, .hg too
        {{"/src/"}, false, {1, 100}, 1},
        {{"*/pack"}, false, {1, 2, 3, 100, 101}, 0},          // '*' does not cross a '/'
        {{"/"}, false, {1, 2, 3, 100, 101}, 0},               // nothing is left of it
        {{"**/pack", "src/**"}, false, {1}, 5},               // pack, and all four entries inside src
        {{"main.o/", ".hg/"}, false, {1, 2, 3, 100, 101}, 0}, // files, not folders
    };
    for (const auto& c : cases) {
        const auto [excluded, outside] = Walk(Filter(c.patterns, {}, {}, c.versionControl));
        EXPECT_EQ(Times(m_store), c.kept) << c.patterns.front();
        EXPECT_EQ(excluded, c.excluded) << c.patterns.front();
    }
}

// Another file system below the chosen folder: a made-up one is listed as empty unless the chosen
// folder is on one too, any other only with oneFileSystem; each mount point is counted once.
TEST_F(FilteredWalk, MadeUpFileSystemsAndWithOneFileSystemAllOthersAreNotEntered) {
    const int proc = m_source.AddFolder(CMemoryDirectorySource::kRoot, "proc");
    m_source.AddFile(m_source.AddFolder(proc, "1"), "status", 200);
    m_source.SetFileSystem(proc, 7, true);
    const int home = m_source.AddFolder(CMemoryDirectorySource::kRoot, "home");
    m_source.AddFile(home, "letter", 300);
    m_source.SetFileSystem(home, 8, false);
    const struct {
        bool oneFileSystem;
        bool rootMadeUp;
        std::vector<std::int64_t> kept;
        std::int64_t mountPoints;
        std::vector<std::string> named;
    } cases[] = {
        {false, false, {1, 2, 3, 100, 300}, 1, {"/proc"}},
        {true, false, {1, 2, 3, 100}, 2, {"/home", "/proc"}},
        {false, true, {1, 2, 3, 100, 200, 300}, 0, {}},
        {true, true, {1, 2, 3, 100}, 2, {"/home", "/proc"}},
    };
    for (const auto& c : cases) {
        m_source.SetFileSystem(CMemoryDirectorySource::kRoot, 1, c.rootMadeUp);
        CFilteredDirectorySource source(m_source, Filter({"*.o"}, {}, {}, false, c.oneFileSystem));
        m_store.Scan("/", source);
        EXPECT_EQ(Times(m_store), c.kept) << c.oneFileSystem << c.rootMadeUp;
        EXPECT_EQ(source.Counts().mountPoints, c.mountPoints) << c.oneFileSystem << c.rootMadeUp;
        EXPECT_EQ(source.Counts().mountPointPaths, c.named) << c.oneFileSystem << c.rootMadeUp;
        EXPECT_EQ(m_store.GetProblems().unreadableFolders, 1) << "node_modules only";
        EXPECT_EQ(m_source.OpenNow(), 0);
        EXPECT_EQ(m_source.Misuses(), 0);
    }
}

// Past the first hundred mount points left out, the rest are counted without their paths.
TEST_F(FilteredWalk, OnlyTheFirstMountPointsLeftOutAreNamed) {
    const std::size_t mounts = kMountPointPathsKept + 5;
    for (std::size_t i = 0; i < mounts; ++i)
        m_source.SetFileSystem(m_source.AddFolder(CMemoryDirectorySource::kRoot, "m" + std::to_string(i)),
                               10 + i, false);
    CFilteredDirectorySource source(m_source, Filter({}, {}, {}, false, true));
    m_store.Scan("/data/", source);
    const LeftOutCounts counts = source.Counts();
    EXPECT_EQ(counts.mountPoints, static_cast<std::int64_t>(mounts));
    ASSERT_EQ(counts.mountPointPaths.size(), kMountPointPathsKept);
    EXPECT_TRUE(std::is_sorted(counts.mountPointPaths.begin(), counts.mountPointPaths.end()));
    EXPECT_TRUE(counts.mountPointPaths.front().starts_with("/data/m")) << counts.mountPointPaths.front();
}

// A pattern tied to one analysed folder applies when that folder, however written, is analysed
// alone, and never to another folder or to several analysed together; the others apply everywhere.
TEST_F(FilteredWalk, RulesTiedToAFolderApplyToThatFolderAlone) {
    const std::string project = RuleFolder("/work/project");
    EXPECT_EQ(project, "/work/project");
    EntryFilter rules;
    ASSERT_EQ(AddPattern(rules, "*.o"), "");
    ASSERT_EQ(AddPattern(rules, " /src ", project), "");
    ASSERT_EQ(AddPattern(rules, "notes.txt", "/work/other"), "");
    EXPECT_EQ(AddPattern(rules, "a[", project), "The pattern \"a[\" opens a '[' that it never closes.");
    EXPECT_EQ(RulesProblem(rules), "");
    EXPECT_EQ(RuleCount(rules), 3);
    const struct {
        std::vector<std::string> folders;
        std::vector<std::string> inForce;
        std::vector<std::int64_t> kept; // when the memory tree is walked as the first folder
    } cases[] = {
        {{"/work/project"}, {"*.o", "/src"}, {1, 100}},
        {{"/work/project/"}, {"*.o", "/src"}, {1, 100}},
        {{"/work/./project/src/.."}, {"*.o", "/src"}, {1, 100}},
        {{"/work/other"}, {"*.o", "notes.txt"}, {2, 3, 100}},
        {{"/work/project/src"}, {"*.o"}, {1, 2, 3, 100}},
        {{"/work"}, {"*.o"}, {1, 2, 3, 100}},
        {{"/work/project", "/work/other"}, {"*.o"}, {}},
    };
    for (const auto& c : cases) {
        const EntryFilter inForce = RulesInForce(rules, c.folders);
        EXPECT_EQ(inForce.excludedNames, c.inForce) << c.folders.front();
        EXPECT_TRUE(inForce.folderRules.empty());
        if (c.folders.size() == 1) {
            Walk(inForce);
            EXPECT_EQ(Times(m_store), c.kept) << c.folders.front();
        }
    }
    EntryFilter stray = rules;
    stray.folderRules.push_back({"work/project", "x"});
    EXPECT_EQ(RulesProblem(stray), "The folder \"work/project\" of a rule is not a whole path.");
}

TEST_F(FilteredWalk, TheTimeRangeKeepsFilesFromSinceUpToButNotIncludingUntil) {
    auto [excluded, outside] = Walk(Filter({}, 2, 101));
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{2, 3, 100}));
    EXPECT_EQ(outside, 2) << "notes.txt (1) and main.o (101); folders are never left out for a time";
    EXPECT_EQ(excluded, 0);

    std::tie(excluded, outside) = Walk(Filter({"*.o"}, {}, 3));
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(excluded, 2) << "main.o and gone.o";
    EXPECT_EQ(outside, 2) << "pack (100) and .hg (3); main.o is counted for its name alone";
}

TEST_F(FilteredWalk, TheRangesEdgesHoldWhereTheListingGivesNoKinds) {
    // Folders are then told apart only by reading their times, which lie outside every range here.
    for (const int folder : {CMemoryDirectorySource::kRoot, 1, 3})
        m_source.SetKindsUnknown(folder);
    auto [excluded, outside] = Walk(Filter({}, 2, 3));
    EXPECT_EQ(Times(m_store), (std::vector<std::int64_t>{2})) << "one second: since kept, until not";
    EXPECT_EQ(outside, 4) << "notes.txt, pack, main.o and .hg; no folder";
    EXPECT_EQ(m_store.GetProblems().unreadableFolders, 1) << "node_modules was entered as a folder";

    std::tie(excluded, outside) = Walk(Filter({}, 3, 3));
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
    CFilteredDirectorySource source(inner, Filter({"*.o"}, {}, 3));
    std::vector<std::thread> threads;
    std::atomic<std::int64_t> kept = 0;
    for (int folder = 0; folder < ConcurrentSource::kFolders; ++folder)
        threads.emplace_back([&, folder] {
            CFolderListing listing;
            source.List(folder, listing);
            source.EntryScreen()->Screen({}, listing);
            for (std::size_t i = 0; i < listing.size(); ++i)
                kept += source.ReadTime(folder, listing.Name(i)).error == 0;
        });
    for (std::thread& thread : threads)
        thread.join();
    constexpr std::int64_t kAll = std::int64_t{ConcurrentSource::kFolders} * ConcurrentSource::kEntries;
    EXPECT_EQ(source.Counts().excludedEntries, kAll / 2);
    EXPECT_EQ(source.Counts().filesOutsideRange, kAll / 8) << "every fourth read is 3, outside the range";
    EXPECT_EQ(kept, kAll / 2 - kAll / 8);
}

// Each kind of pattern, asked as the walk asks: with the folders above the entry and its kind.
TEST(EntryMatcher, NamesAnchoredPathsFoldersOnlyAndAnyDepth) {
    const struct {
        std::string pattern;
        std::vector<const char*> path; // the folders below the analysed one, then the entry
        bool folder;
        bool leftOut;
    } cases[] = {
        {"*.o", {"main.o"}, false, true},
        {"*.o", {"src", "deep", "main.o"}, false, true}, // a name at any depth
        {"[lm]ain.?", {"main.c"}, false, true},
        {"/build", {"build"}, true, true},
        {"/build", {"src", "build"}, true, false}, // a leading '/' anchors
        {"./build", {"src", "build"}, true, false},
        {"build/", {"src", "build"}, true, true},
        {"build/", {"src", "build"}, false, false}, // a trailing '/' keeps to folders
        {"src/*.o", {"src", "main.o"}, false, true},
        {"src/*.o", {"src", "sub", "main.o"}, false, false}, // '*' stays within a folder
        {"src/*.o", {"lib", "src", "main.o"}, false, false}, // a '/' inside anchors
        {"src/**/gen", {"src", "gen"}, true, true},          // "**" is any number of folders
        {"src/**/gen", {"src", "a", "b", "gen"}, true, true},
        {"src/**/gen", {"lib", "src", "gen"}, true, false},
        {"**/cache", {"a", "b", "cache"}, true, true},
        {"**/cache/", {"a", "cache"}, false, false},
        {"src/**", {"src", "a", "b"}, false, true},
        {"src/**", {"src"}, true, false}, // what is inside, not the folder itself
        {"/a/**/b/**/c", {"a", "x", "b", "y", "z", "c"}, false, true},
        {"/a/**/b/**/c", {"a", "x", "y", "c"}, false, false},
        {"\\*", {"*"}, false, true},
        {"\\*", {"x"}, false, false},
        {"[!a]*", {"abc"}, false, false},
    };
    for (const auto& c : cases) {
        const CEntryMatcher matcher(Filter({c.pattern}));
        const std::span<const char* const> folders(c.path.data(), c.path.size() - 1);
        EXPECT_EQ(matcher.LeavesOut(folders, c.path.back(), c.folder), c.leftOut)
            << c.pattern << " " << c.path.back();
    }
}

// Thousands of patterns compiled into one index leave out exactly what each of them matched alone
// would.
TEST(EntryMatcher, TheIndexOfManyPatternsAgreesWithEachPatternAlone) {
    std::vector<std::string> patterns;
    for (int i = 0; i < 300; ++i) {
        const std::string n = std::to_string(i);
        for (const std::string& pattern :
             {"name" + n, "pre" + n + "*", "*.e" + n, "?x" + n + "*", "[ab]" + n + "c", "/d" + n + "/*.o",
              "d" + n + "/**/f", "*/s" + n + "/", "/**/t" + n})
            patterns.push_back(pattern);
    }
    std::vector<LeaveOutPattern> alone;
    for (const std::string& pattern : patterns)
        alone.push_back(*LeaveOutPattern::Read(pattern));
    const CEntryMatcher all(Filter(patterns));
    int leftOut = 0;
    for (int i = 0; i < 320; i += 7) {
        const std::string n = std::to_string(i);
        for (const std::string& name :
             {"name" + n, "pre" + n + "z", "a.e" + n, "yx" + n, "b" + n + "c", "t" + n, std::string("f")})
            for (const std::vector<std::string>& above :
                 {std::vector<std::string>{}, {"d" + n}, {"d" + n, "q", "r"}, {"p", "s" + n}}) {
                std::vector<const char*> folders;
                for (const std::string& folder : above)
                    folders.push_back(folder.c_str());
                bool any = false;
                for (const LeaveOutPattern& one : alone)
                    any = any || (one.anchored ? one.MatchesPath(folders, name.c_str())
                                               : GlobMatches(one.parts.front(), name.c_str()));
                EXPECT_EQ(all.LeavesOut(folders, name.c_str(), true), any)
                    << name << " below " << above.size();
                leftOut += any;
            }
    }
    EXPECT_GT(leftOut, 300) << "most names are left out by some pattern";
}

} // namespace

namespace {

// The real system's made-up file systems, told apart by their type, and a devtmpfs by the mount
// table; a folder on a disk is not one.
TEST(PseudoFileSystems, ProcSysAndDevAreMadeUpAndAFolderOnDiskIsNot) {
    EXPECT_TRUE(IsPseudoFileSystemType(0x9fa0));
    EXPECT_TRUE(IsPseudoFileSystemType(0x63677270));
    EXPECT_FALSE(IsPseudoFileSystemType(0xef53)) << "ext4";
    EXPECT_FALSE(IsPseudoFileSystemType(0x01021994)) << "a tmpfs holds real files";
    const std::string line = "25 30 0:6 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=100k";
    EXPECT_TRUE(MountsDevtmpfs(line, 0, 6));
    EXPECT_FALSE(MountsDevtmpfs(line, 0, 60));
    EXPECT_FALSE(MountsDevtmpfs("26 30 0:6 / /run rw - tmpfs tmpfs rw", 0, 6));
    EXPECT_FALSE(MountsDevtmpfs("garbage", 0, 6));

    CTestTree tree;
    tree.AddFile("f", 1);
    CPosixDirectorySource source;
    for (const auto& [path, madeUp] : {std::pair{std::string("/proc"), true}, std::pair{std::string("/sys"), true},
                                       std::pair{tree.Root(), false}}) {
        const IDirectorySource::OpenResult opened = source.OpenRoot(path);
        ASSERT_GE(opened.handle, 0) << path;
        EXPECT_EQ(source.OnPseudoFileSystem(opened.handle), madeUp) << path;
        source.Close(opened.handle);
    }
}

} // namespace
