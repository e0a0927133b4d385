#include "civil_time.h"
#include "git_history.h"
#include "period_histograms.h"
#include "stamp_store.h"
#include "test_tree.h"
#include "time_zone.h"

#include <algorithm>
#include <fstream>
#include <git2.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A repository made with libgit2 in a temporary folder: commits with chosen authors, times
// and offsets, each with an empty tree.
class CTestRepository {
public:
    explicit CTestRepository(const std::string& path, bool bare = false) {
        git_libgit2_init();
        EXPECT_EQ(git_repository_init(&m_repository, path.c_str(), bare ? 1 : 0), 0);
        git_treebuilder* builder = nullptr;
        git_treebuilder_new(&builder, m_repository, nullptr);
        git_treebuilder_write(&m_tree, builder);
        git_treebuilder_free(builder);
    }
    ~CTestRepository() {
        git_repository_free(m_repository);
        git_libgit2_shutdown();
    }
    CTestRepository(const CTestRepository&) = delete;
    CTestRepository& operator=(const CTestRepository&) = delete;

    struct When {
        int year, month, day, hour, minute;
        int offsetMinutes; // east of UTC
    };
    // A commit written by the author at the wall-clock time in its offset, moving ref (if any).
    git_oid Commit(const char* ref, const std::string& author, const When& when,
                   const std::vector<git_oid>& parents = {}) {
        const std::int64_t wall = SecondsFromCivil(when.year, when.month, when.day, when.hour, when.minute, 0);
        const std::string name = author.substr(0, author.find(' '));
        git_signature* signature = nullptr;
        git_signature_new(&signature, author.c_str(), (name + "@Example.org").c_str(),
                          wall - std::int64_t{when.offsetMinutes} * 60, when.offsetMinutes);
        git_tree* tree = nullptr;
        git_tree_lookup(&tree, m_repository, &m_tree);
        std::vector<git_commit*> parentCommits(parents.size());
        for (std::size_t i = 0; i < parents.size(); ++i)
            git_commit_lookup(&parentCommits[i], m_repository, &parents[i]);
        git_oid id{};
        EXPECT_EQ(git_commit_create(&id, m_repository, ref, signature, signature, nullptr, "work", tree,
                                    parents.size(), const_cast<const git_commit**>(parentCommits.data())),
                  0)
            << git_error_last()->message;
        for (git_commit* parent : parentCommits)
            git_commit_free(parent);
        git_tree_free(tree);
        git_signature_free(signature);
        return id;
    }
    void Tag(const char* name, const git_oid& target) {
        git_object* object = nullptr;
        git_object_lookup(&object, m_repository, &target, GIT_OBJECT_COMMIT);
        git_signature* tagger = nullptr;
        git_signature_now(&tagger, "Tagger", "tagger@example.org");
        git_oid tag{};
        EXPECT_EQ(git_tag_create(&tag, m_repository, name, object, tagger, "release", 0), 0);
        git_signature_free(tagger);
        git_object_free(object);
    }

private:
    git_repository* m_repository = nullptr;
    git_oid m_tree{};
};

// The day bins of the commits read, one entry per commit.
std::vector<int> DayBins(const CStampStore& store) {
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    std::vector<int> bins;
    for (int bin = 0; bin < histograms.m_dayBins.GetSize(); ++bin)
        bins.insert(bins.end(), static_cast<std::size_t>(histograms.m_dayBins[bin]), bin);
    return bins;
}

class GitHistory : public testing::Test {
protected:
    void SetUp() override {
        const git_oid first = m_repository.Commit("HEAD", "Ada Lovelace", {2024, 7, 1, 10, 0, 9 * 60});
        const git_oid second = m_repository.Commit("HEAD", "Bob", {2024, 7, 2, 23, 30, -5 * 60}, {first});
        const git_oid side = m_repository.Commit("refs/heads/side", "Ada Lovelace", {2024, 7, 3, 8, 15, 345}, {first});
        m_repository.Commit("HEAD", "Cy", {2024, 7, 4, 12, 0, 0}, {second, side});
        m_repository.Commit("refs/heads/other", "Bob", {2024, 7, 6, 18, 45, -8 * 60}, {second});
        m_repository.Tag("orphan", m_repository.Commit(nullptr, "Ada Lovelace", {2023, 12, 31, 23, 59, 60}));
    }
    CScopedTimeZone m_zone{"America/New_York"}; // no part in the bins of commits
    CTestTree m_tree;
    CTestRepository m_repository{m_tree.Root()};
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
        EXPECT_EQ(FormatFilesTitle(store.m_nFiles, store.GetFolder(), store.Kind()), std::to_string(dayBins.size()) + " commits in " + m_tree.Root());
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
}

TEST(GitHistoryProblems, WhatHasNoFullHistoryIsOneLineAndLeavesTheStoreEmpty) {
    CTestTree tree;
    tree.AddFolder("plain");
    { CTestRepository bare(tree.Path("bare"), true); }
    { CTestRepository unborn(tree.Path("unborn")); }
    std::string missingObject;
    {
        CTestRepository shallow(tree.Path("shallow"));
        const git_oid root = shallow.Commit("HEAD", "Ada", {2024, 1, 1, 0, 0, 0});
        std::ofstream(tree.Path("shallow/.git/shallow")) << git_oid_tostr_s(&root) << "\n";
        CTestRepository corrupt(tree.Path("corrupt"));
        const git_oid lost = corrupt.Commit("HEAD", "Ada", {2024, 1, 1, 0, 0, 0});
        corrupt.Commit("HEAD", "Ada", {2024, 1, 2, 0, 0, 0}, {lost});
        const std::string hex = git_oid_tostr_s(&lost);
        missingObject = tree.Path("corrupt/.git/objects/" + hex.substr(0, 2) + "/" + hex.substr(2));
    }
    ASSERT_EQ(std::remove(missingObject.c_str()), 0);

    const struct {
        std::string folder;
        std::string says;
    } cases[] = {
        {"plain", "is not a git repository"}, {"missing", "cannot read folder"},
        {"bare", "is a bare repository"},     {"unborn", "has no commits yet"},
        {"shallow", "is a shallow clone"},    {"corrupt", "cannot read the history of"},
    };
    for (const auto& [folder, says] : cases) {
        CStampStore store;
        store.AddStamp(1);
        const std::string error = LoadGitHistory(tree.Path(folder), {}, store);
        EXPECT_NE(error.find(says), std::string::npos) << folder << ": " << error;
        EXPECT_NE(error.find("'" + tree.Path(folder) + "'"), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(store.m_nFiles, 0) << folder;
        EXPECT_EQ(store.Kind(), RecordKind::Files) << folder;
    }
}

} // namespace
