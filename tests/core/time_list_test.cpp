#include "period_histograms.h"
#include "stamp_store.h"
#include "test_tree.h"
#include "time_list.h"

#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

TEST(TimeList, LinesOfEveryKnownWriterParseAndOthersDoNot) {
    const struct {
        const char* line;
        std::optional<TimeListLine> parsed;
    } cases[] = {
        {"1719844200", TimeListLine{1719844200, {}}},
        {"-1", TimeListLine{-1, {}}},
        {"1719844200.9999999990", TimeListLine{1719844200, {}}},
        {"-0.5000000000", TimeListLine{-1, {}}},
        {"-2.0000000000", TimeListLine{-2, {}}},
        {"1719844200.5 ./a b/c", TimeListLine{1719844200, "./a b/c"}},
        {"7 name", TimeListLine{7, "name"}},
        {"", std::nullopt},
        {"x", std::nullopt},
        {"+5", std::nullopt},
        {"12 ", std::nullopt},
        {" 12", std::nullopt},
        {"12.", std::nullopt},
        {"12.5e3", std::nullopt},
        {"1.2.3", std::nullopt},
        {"12\r", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"-9223372036854775808.5", std::nullopt},
    };
    for (const auto& [line, parsed] : cases)
        EXPECT_EQ(ParseTimeListLine(line), parsed) << line;
}

class TimeListFiles : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text) {
        m_tree.AddFolder("lists");
        const std::string path = m_tree.Path("lists/" + name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    CTestTree m_tree;
};

TEST_F(TimeListFiles, ListsMergeAndTheirPathsShareOneFolderTree) {
    const std::vector<std::string> lists{Write("one", "5\n6.25 ./a/x\n7 a//b/y\n"),
                                         Write("two", "8.0 /a/z\n9 top\n")};
    CStampStore store;
    store.KeepPlaces(PlaceDetail::Names);
    const TimeListsLoad load = LoadTimeLists(lists, store);
    ASSERT_EQ(load.failure, TimeListsLoad::Failure::None) << load.message;
    EXPECT_EQ(store.GetFolder(), lists[0] + ", " + lists[1]);
    ASSERT_EQ(store.m_nFiles, 5);
    std::vector<std::int64_t> times;
    std::vector<std::string> paths;
    for (CStampStore::Index i = 0; i < store.GetSize(); ++i) {
        times.push_back(store[i].m_lastWrite);
        paths.push_back(store.Places().RelativePath(i));
    }
    EXPECT_EQ(times, (std::vector<std::int64_t>{5, 6, 7, 8, 9}));
    EXPECT_EQ(paths, (std::vector<std::string>{"", "a/x", "a/b/y", "a/z", "top"}));
    EXPECT_EQ(store.Places().FolderCount(), 3u) << "the top, a and a/b, each made once";

    WalkControl stopped;
    stopped.stopRequested = true;
    CStampStore partial;
    EXPECT_EQ(LoadTimeLists(lists, partial, &stopped).failure, TimeListsLoad::Failure::None);
    EXPECT_EQ(partial.m_nFiles, 0) << "a requested stop ends the reading, and it is no failure";
}

TEST_F(TimeListFiles, ABadLineOrAnUnreadableListNamesItAndLeavesTheStoreEmpty) {
    const std::string good = Write("good", "1\n2\n");
    const struct {
        std::vector<std::string> lists;
        TimeListsLoad::Failure failure;
        std::string message;
    } cases[] = {
        {{good, Write("bad", "3\n4\nfour\n5\n")}, TimeListsLoad::Failure::NotATime, "bad:3: not a time: 'four'"},
        {{Write("blank", "3\n\n")}, TimeListsLoad::Failure::NotATime, "blank:2: not a time: ''"},
        {{good, m_tree.Path("missing")}, TimeListsLoad::Failure::Unreadable, "cannot read '" + m_tree.Path("missing") + "': No such file or directory"},
        {{m_tree.Path("lists")}, TimeListsLoad::Failure::Unreadable, "cannot read '" + m_tree.Path("lists") + "': Is a directory"},
    };
    for (const auto& [lists, failure, message] : cases) {
        CStampStore store;
        const TimeListsLoad load = LoadTimeLists(lists, store);
        EXPECT_EQ(load.failure, failure) << message;
        EXPECT_TRUE(load.message.ends_with(message)) << load.message;
        EXPECT_EQ(store.m_nFiles, 0);
        EXPECT_EQ(store.GetFolder(), "");
    }
}

} // namespace
