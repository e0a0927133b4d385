#include "civil_time.h"
#include "git_history.h"
#include "period_histograms.h"
#include "stamp_store.h"
#include "test_tree.h"
#include "time_zone.h"
#include "walk_control.h"
#include "wall_clock_time.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Runs a shell command, feeding it input; true when it succeeded.
bool RunShell(const std::string& command, const std::string& input = {}) {
    std::FILE* pipe = ::popen(command.c_str(), "w");
    if (pipe == nullptr)
        return false;
    std::fwrite(input.data(), 1, input.size(), pipe);
    return ::pclose(pipe) == 0;
}

// The lines of a git fast-import commit by who, written at the wall-clock time in an offset
// (minutes east of UTC), with no files.
std::string Commit(const std::string& ref, int mark, const std::string& who, WallClockTime wall, int offset,
                   const std::string& parents = {}) {
    const std::int64_t t =
        SecondsFromCivil(wall.year, wall.month, wall.day, wall.hour, wall.minute, 0) - std::int64_t{offset} * 60;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d%02d", offset < 0 ? '-' : '+', std::abs(offset) / 60, std::abs(offset) % 60);
    const std::string signature =
        who + " <" + who.substr(0, who.find(' ')) + "@Example.org> " + std::to_string(t) + " " + zone + "\n";
    return "commit " + ref + "\n" + (mark > 0 ? "mark :" + std::to_string(mark) + "\n" : "") + "author " + signature + "committer " + signature + "data 0\n" + parents + "\n";
}

// The day bins of the commits read, one entry per commit.
std::vector<int> DayBins(const CStampStore& store) {
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    std::vector<int> bins;
    for (int bin = 0; bin < histograms.m_dayBins.GetSize(); ++bin)
        bins.insert(bins.end(), static_cast<std::size_t>(histograms.m_dayBins[bin]), bin);
    return bins;
}

// A history with two branches merged, a third not merged, and a commit reached only by tags; the
// authors wrote in Tokyo, New York, Kathmandu, London, Los Angeles and Paris.
class GitHistory : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RunShell("git init -q -b main " + m_tree.Root()));
        ASSERT_TRUE(RunShell("git -C " + m_tree.Root() + " fast-import --quiet",
                        Commit("refs/heads/main", 1, "Ada Lovelace", {2024, 7, 1, 10, 0}, 9 * 60) +
                            Commit("refs/heads/main", 2, "Bob", {2024, 7, 2, 23, 30}, -5 * 60, "from :1\n") +
                            Commit("refs/heads/side", 3, "Ada Lovelace", {2024, 7, 3, 8, 15}, 345, "from :1\n") +
                            Commit("refs/heads/main", 0, "Cy", {2024, 7, 4, 12, 0}, 0, "from :2\nmerge :3\n") +
                            Commit("refs/heads/other", 0, "Bob", {2024, 7, 6, 18, 45}, -8 * 60, "from :2\n") +
                            Commit("refs/tags/orphan", 6, "Ada Lovelace", {2023, 12, 31, 23, 59}, 60) +
                            "tag release\nfrom :6\ntagger T <t@example.org> 0 +0000\ndata 0\n"));
    }
    CScopedTimeZone m_zone{"America/New_York"}; // no part in the bins of commits
    CTestTree m_tree;
};

TEST_F(GitHistory, EachCommitCountsAtItsAuthorsWallClock) {
    const struct {
        GitHistoryOptions options;
        std::vector<int> dayBins;
    } cases[] = {
        {{false, {}}, {495, 600, 720, 1410}}, // the merge and both its parents, not the other branch
        {{true, {}}, {495, 600, 720, 1125, 1410, 1439}},
        {{false, {"ada"}}, {495, 600}},
        {{true, {"LOVELACE"}}, {495, 600, 1439}},
        {{false, {"bob@example"}}, {1410}},
        {{false, {"ada", "cy"}}, {495, 600, 720}},
        {{false, {"nobody"}}, {}},
    };
    for (const auto& [options, dayBins] : cases) {
        CStampStore store;
        ASSERT_EQ(LoadGitHistory(m_tree.Root(), options, store), "");
        EXPECT_EQ(DayBins(store), dayBins) << options.allRefs << " " << options.authors.size();
        EXPECT_EQ(FormatFilesTitle(store.m_nFiles, store.GetFolder(), store.Kind()),
                  std::to_string(dayBins.size()) + " commits in " + m_tree.Root());
    }

    CStampStore store;
    ASSERT_EQ(LoadGitHistory(m_tree.Root(), {}, store), "");
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    // Monday 10:00, Tuesday 23:30, Wednesday 08:15, Thursday 12:00 in six-minute steps from Sunday;
    // days 1 to 4 of the month in half hours.
    for (const auto& [bins, expected] : {std::pair{&histograms.m_weekBins, std::vector<int>{340, 715, 802, 1080}},
                                         std::pair{&histograms.m_monthBins, std::vector<int>{20, 95, 112, 168}}})
        for (const int bin : expected)
            EXPECT_EQ((*bins)[bin], 1) << bin;
    EXPECT_EQ(histograms.m_nBinned, 4);

    WalkControl stopped;
    stopped.stopRequested = true;
    CStampStore partial;
    EXPECT_EQ(LoadGitHistory(m_tree.Root(), {}, partial, &stopped), "");
    EXPECT_EQ(partial.m_nFiles, 0) << "a requested stop ends the reading, and it is no failure";
}

TEST_F(GitHistory, WhatHasNoFullHistoryIsOneLineAndLeavesTheStoreEmpty) {
    const std::string root = m_tree.Root();
    m_tree.AddFolder("plain");
    ASSERT_TRUE(RunShell("git init -q --bare " + m_tree.Path("bare") + " && git init -q " +
                         m_tree.Path("unborn") + " && git clone -q --no-local " + root + " " +
                         m_tree.Path("shallow") + " && git -C " + root + " rev-parse HEAD > " +
                         m_tree.Path("shallow/.git/shallow") + " && git clone -q --no-local " + root + " " +
                         m_tree.Path("corrupt") + " && rm " + m_tree.Path("corrupt/.git/objects/pack/*") +
                         // An author time past the end of 64-bit seconds once the offset is added.
                         " && git init -q " + m_tree.Path("far") + " && cd " + m_tree.Path("far") +
                         " && c=$(printf 'tree %s\\nauthor A <a@b> 9223372036854775807 +0100\\ncommitter A "
                         "<a@b> 1 +0000\\n\\nfar\\n'"
                         " $(git mktree </dev/null) | git hash-object -t commit -w --literally --stdin) && "
                         "git update-ref HEAD $c"));
    const struct {
        std::string folder;
        std::string says;
    } cases[] = {
        {"plain", "is not a git repository"},
        {"missing", "cannot read folder"},
        {"bare", "is a bare repository"},
        {"unborn", "has no commits yet"},
        {"shallow", "is a shallow clone"},
        {"corrupt", "cannot read the history of"},
        {"far", "is damaged"},
    };
    for (const auto& [folder, says] : cases) {
        CStampStore store;
        store.AddStamp(1);
        const std::string error = LoadGitHistory(m_tree.Path(folder), {}, store);
        EXPECT_NE(error.find(says), std::string::npos) << folder << ": " << error;
        EXPECT_NE(error.find("'" + m_tree.Path(folder) + "'"), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(store.m_nFiles, 0) << folder;
        EXPECT_EQ(store.Kind(), RecordKind::Files) << folder;
    }
}

} // namespace
