#include "report_options.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

ParsedReportOptions Parse(std::vector<std::string> arguments) {
    return ParseReportOptions(arguments);
}

TEST(ReportOptions, DefaultsToASummaryOfAllFourViews) {
    const ParsedReportOptions parsed = Parse({"/some/folder"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.folder, "/some/folder");
    EXPECT_EQ(parsed.options.format, ReportFormat::Summary);
    EXPECT_EQ(parsed.options.views, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_FALSE(parsed.options.help);
}

TEST(ReportOptions, ValuesComeAsTheNextArgumentOrAfterAnEqualsSign) {
    ParsedReportOptions parsed = Parse({"--view", "week", "--format=csv", "dir"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.views, std::vector<int>{1});
    EXPECT_EQ(parsed.options.format, ReportFormat::Csv);
    parsed = Parse({"dir", "--view=year", "--format", "times"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.views, std::vector<int>{3});
    EXPECT_EQ(parsed.options.format, ReportFormat::Times);
    EXPECT_EQ(parsed.options.folder, "dir");
    EXPECT_EQ(Parse({"--format", "json", "d"}).options.format, ReportFormat::Json);
    EXPECT_EQ(Parse({"--format", "summary", "d"}).options.format, ReportFormat::Summary);
}

TEST(ReportOptions, BadCommandLinesNameTheProblem) {
    EXPECT_NE(Parse({"--view", "fortnight", "d"}).error.find("fortnight"), std::string::npos);
    EXPECT_NE(Parse({"--format", "xml", "d"}).error.find("xml"), std::string::npos);
    EXPECT_NE(Parse({"--colour", "d"}).error.find("--colour"), std::string::npos);
    EXPECT_NE(Parse({"d", "--view"}).error.find("--view"), std::string::npos);
    EXPECT_NE(Parse({"one", "two"}).error.find("two"), std::string::npos);
    EXPECT_NE(Parse({"--help=yes"}).error, "");
    EXPECT_NE(Parse({}).error.find("FOLDER"), std::string::npos);
}

TEST(ReportOptions, HelpNeedsNoFolderAndDashesEndOptions) {
    EXPECT_EQ(Parse({"--help"}).error, "");
    EXPECT_TRUE(Parse({"--help"}).options.help);
    const ParsedReportOptions parsed = Parse({"--", "--view"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.folder, "--view");
    EXPECT_EQ(Parse({"-"}).options.folder, "-");
}

TEST(ReportOptions, HelpDescribesEveryOptionAndFormat) {
    const std::string usage = ReportUsage();
    for (const char* word : {"--view", "--format", "--help", "day|week|month|year", "summary", "csv", "json",
                             "times", "TZ", "FOLDER"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

TEST(ReportOptions, ViewNamesRoundTrip) {
    for (int view = 0; view < 4; ++view)
        EXPECT_EQ(ViewFromName(ViewName(view)), view);
    EXPECT_EQ(ViewFromName("Day"), std::nullopt);
}

} // namespace
