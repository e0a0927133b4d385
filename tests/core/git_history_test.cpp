#include "civil_time.h"
#include "git_history.h"
#include "period_histograms.h"
#include "stamp_store.h"
#include "test_tree.h"
#include "time_zone.h"
#include "walk_control.h"
#include "wall_clock_time.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
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
        ASSERT_EQ(LoadGitHistory(m_tree.Root(), options, store).error, "");
        EXPECT_EQ(DayBins(store), dayBins) << options.allRefs << " " << options.authors.size();
        EXPECT_EQ(FormatFilesTitle(store.m_nFiles, store.GetFolder(), store.Kind()),
                  std::to_string(dayBins.size()) + " commits in " + GitHistoryName(m_tree.Root(), options));
    }

    EXPECT_EQ(GitHistoryName("r", {false, {"ada", "Bob <bob@Example.org>"}}),
              "r by ada, Bob <bob@Example.org>");
    const GitAuthorsList authors = ListGitAuthors(m_tree.Root(), true);
    ASSERT_EQ(authors.error, "");
    std::vector<std::string> listed;
    for (const GitAuthor& author : authors.authors)
        listed.push_back(author.Ident() + " " + std::to_string(author.commits));
    EXPECT_EQ(listed, (std::vector<std::string>{"Ada Lovelace <Ada@Example.org> 3", "Bob <Bob@Example.org> 2",
                                                "Cy <Cy@Example.org> 1"}));
    CStampStore exact;
    ASSERT_EQ(LoadGitHistory(m_tree.Root(), {true, {authors.authors[1].Ident()}}, exact).error, "");
    EXPECT_EQ(DayBins(exact), (std::vector<int>{1125, 1410}))
        << "an author's ident keeps that author's commits";

    CStampStore store;
    ASSERT_EQ(LoadGitHistory(m_tree.Root(), {}, store).error, "");
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
    const GitHistoryLoad stoppedLoad = LoadGitHistory(m_tree.Root(), {}, partial, &stopped);
    EXPECT_EQ(stoppedLoad.error + stoppedLoad.notice, "");
    EXPECT_EQ(partial.m_nFiles, 0) << "a requested stop ends the reading, and it is no failure";
}

TEST_F(GitHistory, WhatCannotBeReadIsOneLineAndLeavesTheStoreEmpty) {
    const std::string root = m_tree.Root();
    m_tree.AddFolder("plain");
    ASSERT_TRUE(RunShell("git init -q " + m_tree.Path("unborn") + " && git clone -q --no-local " + root +
                         " " + m_tree.Path("corrupt") + " && rm " +
                         m_tree.Path("corrupt/.git/objects/pack/*") + " && git clone -q --no-local " + root +
                         " " + m_tree.Path("grafted") + " && echo 'not an id' > " +
                         m_tree.Path("grafted/.git/info/grafts") +
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
        {"plain", "is not a git repository"},    {"missing", "cannot read folder"},
        {"unborn", "has no commits yet"},        {"corrupt", "cannot read HEAD of"},
        {"grafted", "info/grafts:1 is damaged"},
    };
    for (const auto& [folder, says] : cases) {
        CStampStore store;
        store.AddStamp(1);
        const GitHistoryLoad load = LoadGitHistory(m_tree.Path(folder), {}, store);
        EXPECT_NE(load.error.find(says), std::string::npos) << folder << ": " << load.error;
        EXPECT_NE(load.error.find("'" + m_tree.Path(folder) + "'"), std::string::npos) << load.error;
        EXPECT_EQ(load.error.find('\n'), std::string::npos) << load.error;
        EXPECT_EQ(load.notice, "");
        EXPECT_EQ(store.m_nFiles, 0) << folder;
        EXPECT_EQ(store.Kind(), RecordKind::Files) << folder;
    }

    CStampStore far;
    const GitHistoryLoad load = LoadGitHistory(m_tree.Path("far"), {}, far);
    EXPECT_EQ(load.error, "");
    EXPECT_EQ(load.notice, "1 commit of '" + m_tree.Path("far") +
                               "' skipped as unreadable: 1 with an author time out of range");
    EXPECT_EQ(far.m_nFiles, 0);
}

// Each commit as "id-prefix wall-clock-seconds".
class CRecordedCommits : public IStampSink {
public:
    FolderIndex AddFolder(FolderIndex, std::string_view) override { return 0; }
    void AddFile(FolderIndex, std::string_view name, std::int64_t lastWrite) override {
        commits.push_back(std::string(name.substr(0, 12)) + " " + std::to_string(lastWrite));
    }
    std::vector<std::string> commits;
};

std::string ShellOutput(const std::string& command) {
    std::string output;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, got);
        ::pclose(pipe);
    }
    return output;
}

// Odd author lines that git log reads, two it cannot, kept as a bare clone, a shallow clone, a
// linked worktree and a submodule, with a graft and a replaced commit: each read as git log reads
// it there, the unreadable commits skipped and counted, the shallow boundary named.
TEST(GitHistoryAsGitLog, EveryKindOfRepositoryReadsAsGitLogReadsIt) {
    CTestTree tree;
    const std::string r = tree.Path("r");
    ASSERT_TRUE(RunShell(
        "set -e; export GIT_AUTHOR_NAME=A GIT_AUTHOR_EMAIL=a@b GIT_COMMITTER_NAME=A GIT_COMMITTER_EMAIL=a@b; "
        "cd " +
        tree.Root() +
        "; git init -q -b main r; cd r; t=$(git mktree </dev/null); p=; "
        "commit() { p=$(printf \"tree $t\\n${p:+parent $p\\n}$1\\ncommitter C <c@d> 1 +0000\\n\\n$2\\n\" | "
        "git hash-object -t commit -w --literally --stdin); echo $p > ../$2; }; "
        "commit 'author Z <z@b> 1719800000 +0000' first; "
        "commit 'author A <a@b> 1719820800 +01' zone; "
        "commit 'author A  B  <a@b>  1719820800  +0100' spaces; "
        "commit 'author A <a@b> 1719820800 +0100 trailing text' trailing; "
        "commit 'author A <a@b> 12345678901234567890 +0100' twenty; "
        "commit 'author A <a@b> 1000 +0000\\nauthor B <b@b> 2000 +0100' twice; "
        "commit 'author A <a@b>' notime; "
        "commit 'author A a@b 1719820800 +0100' nomail; "
        "commit 'author N <n@b> 1719900000 -0700' last; "
        "git update-ref HEAD $p; cd ..; "
        "git clone -q --bare r bare; echo \"$(cat last) $(cat zone)\" > bare/info/grafts; "
        "git clone -q --depth 4 file://$PWD/r shallow; "
        "git -C r worktree add -q ../worktree; "
        "git init -q super; git -C super -c protocol.file.allow=always submodule add -q $PWD/r sub; "
        "y=$(printf \"tree $t\\nparent $(cat zone)\\nauthor R <r@b> 1720000000 +0200\\ncommitter R <r@b> 1 "
        "+0000\\n\\ny\\n\" | "
        "git -C super/sub hash-object -t commit -w --stdin); git -C super/sub replace $(cat spaces) $y"));
    for (const auto& [folder, allRefs] : {std::pair{"r", false},
                                          {"r", true},
                                          {"bare", false},
                                          {"shallow", false},
                                          {"worktree", false},
                                          {"super/sub", false}}) {
        const std::string path = tree.Path(folder);
        std::vector<std::string> expected;
        int unreadable = 0;
        std::istringstream log(ShellOutput("git -C " + path + " log " + (allRefs ? "--all " : "") +
                                           "--format='%H|%ai' 2>/dev/null"));
        for (std::string line; std::getline(log, line);) {
            int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
            if (std::sscanf(line.c_str() + 41, "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute,
                            &second) != 6)
                ++unreadable;
            else
                expected.push_back(line.substr(0, 12) + " " +
                                   std::to_string(SecondsFromCivil(year, month, day, hour, minute, second)));
        }
        CRecordedCommits read;
        const GitHistoryLoad load = ReadGitHistory(path, {allRefs, {}}, read);
        EXPECT_EQ(load.error, "") << folder;
        std::sort(expected.begin(), expected.end());
        std::sort(read.commits.begin(), read.commits.end());
        EXPECT_EQ(read.commits, expected) << folder;
        EXPECT_GE(expected.size(), 2U) << folder;
        if (unreadable > 0) {
            EXPECT_NE(
                load.notice.find(std::to_string(unreadable) + " commits of '" + path +
                                 "' skipped as unreadable: 1 with no author e-mail, 1 with no author time"),
                std::string::npos)
                << load.notice;
        }
        const bool shallow = std::string(folder) == "shallow";
        EXPECT_EQ(load.notice.find("'" + path +
                                   "' is a shallow clone: its history is cut short at 1 commit, " +
                                   ShellOutput("cat " + path + "/.git/shallow 2>/dev/null").substr(0, 12) +
                                   " of 1970-01-01") == 0,
                  shallow)
            << load.notice;
    }
}

} // namespace
