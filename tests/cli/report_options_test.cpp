#include "report_options.h"
#include "time_zone.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

ParsedReportOptions Parse(std::vector<std::string> arguments) {
    return ParseReportOptions(arguments);
}

TEST(ReportOptions, DefaultsToASummaryOfAllFourViews) {
    const ParsedReportOptions parsed = Parse({"/some/folder"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.folders, std::vector<std::string>{"/some/folder"});
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
    EXPECT_EQ(parsed.options.folders, std::vector<std::string>{"dir"});
    EXPECT_EQ(Parse({"--format", "json", "d"}).options.format, ReportFormat::Json);
    EXPECT_EQ(Parse({"--format", "summary", "d"}).options.format, ReportFormat::Summary);
}

TEST(ReportOptions, BadCommandLinesNameTheProblem) {
    EXPECT_NE(Parse({"--view", "fortnight", "d"}).error.find("fortnight"), std::string::npos);
    EXPECT_NE(Parse({"--format", "xml", "d"}).error.find("xml"), std::string::npos);
    EXPECT_NE(Parse({"--colour", "d"}).error.find("--colour"), std::string::npos);
    EXPECT_NE(Parse({"d", "--view"}).error.find("--view"), std::string::npos);
    EXPECT_NE(Parse({"--help=yes"}).error, "");
    EXPECT_NE(Parse({"-jx", "d"}).error.find("--jobs"), std::string::npos);
    EXPECT_NE(Parse({"-hV"}).error.find("-h takes no value"), std::string::npos);
    EXPECT_NE(Parse({"-q", "d"}).error.find("'-q'"), std::string::npos);
    EXPECT_NE(Parse({"-j"}).error.find("needs a value"), std::string::npos);
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--png", "g.png", "--format", "summary", "d"}, {"-fcsv", "d", "--png=-"}})
        EXPECT_EQ(Parse(arguments).error, "--png saves a picture and --format prints text: give one of them");
}

TEST(ReportOptions, ShortFormsFoldersAndTheCurrentFolder) {
    // Each short form does what its long form does, with its value apart or glued on.
    const ParsedReportOptions parsed = Parse({"-j", "3", "-fjson", "-e", "build", "-e*.o", "one", "two", "three"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.jobs, 3);
    EXPECT_EQ(parsed.options.format, ReportFormat::Json);
    EXPECT_EQ(parsed.options.filter.excludedNames, (std::vector<std::string>{"build", "*.o"}));
    EXPECT_EQ(parsed.options.folders, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_TRUE(Parse({"-h"}).options.help);
    EXPECT_TRUE(Parse({"-V"}).options.version);
    EXPECT_EQ(Parse({}).error, "");
    EXPECT_EQ(Parse({"-j4"}).options.folders, std::vector<std::string>{"."});
    EXPECT_EQ(Parse({"--png", "-"}).options.pngFile, "-");
}

TEST(ReportOptions, HelpNeedsNoFolderAndDashesEndOptions) {
    EXPECT_EQ(Parse({"--help"}).error, "");
    EXPECT_TRUE(Parse({"--help"}).options.help);
    const ParsedReportOptions parsed = Parse({"--", "--view"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.folders, std::vector<std::string>{"--view"});
    EXPECT_EQ(Parse({"-"}).options.folders, std::vector<std::string>{"-"});
}

TEST(ReportOptions, JobsTakeAThreadCountInRange) {
    EXPECT_EQ(Parse({"--jobs", "1", "d"}).options.jobs, 1);
    EXPECT_EQ(Parse({"--jobs=256", "d"}).options.jobs, 256);
    for (const char* bad : {"0", "257", "-3", "many", ""})
        EXPECT_NE(Parse({"--jobs", bad, "d"}).error.find("--jobs takes a number from 1 to 256"),
                  std::string::npos)
            << bad;
}

TEST(ReportOptions, HelpDescribesEveryOptionAndFormat) {
    const std::string usage = ReportUsage();
    for (const char* word : {"--view", "-f, --format", "-j, --jobs", "-h, --help", "-V, --version",
                             "day|week|month|year", "summary|csv|json|times", "[FOLDER]...", "start_seconds"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    for (const char* word : {"Ctrl+C", "130", "time zone", "TZ", "800)", "500)", "(default: 50)",
                             "1 to 999 (default: 6.5)", "1 to 256 (default: 16)"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

TEST(ReportOptions, PictureOptionsTakeNumbersInRange) {
    const ParsedReportOptions parsed =
        Parse({"--png", "g.png", "--width=1024", "--height", "300", "--average", "0", "--offset", "-12.5",
               "--scale", "999", "--view", "month", "d"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.pngFile, "g.png");
    EXPECT_EQ(parsed.options.width, 1024);
    EXPECT_EQ(parsed.options.height, 300);
    EXPECT_EQ(parsed.options.averagingPosition, 0);
    EXPECT_DOUBLE_EQ(parsed.options.xOffset, -12.5);
    EXPECT_DOUBLE_EQ(parsed.options.yScale, 999.0);
    EXPECT_EQ(parsed.options.views, std::vector<int>{2});
}

TEST(ReportOptions, PictureNumbersOutOfRangeNameTheOption) {
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--width", "0"},
                                                                                     {"--width", "12x"},
                                                                                     {"--height", "99999"},
                                                                                     {"--average", "101"},
                                                                                     {"--average", "-1"},
                                                                                     {"--scale", "0.5"},
                                                                                     {"--scale", "nan"},
                                                                                     {"--scale", "inf"},
                                                                                     {"--offset", "abc"},
                                                                                     {"--png="}}) {
        std::vector<std::string> arguments = bad;
        arguments.push_back("d");
        const std::string error = Parse(arguments).error;
        EXPECT_NE(error.find(bad[0].substr(0, bad[0].find('='))), std::string::npos)
            << bad[0] << " " << error;
    }
    EXPECT_EQ(Parse({"--offset", "2e6", "d"}).error,
              "--offset takes a number from -1000000 to 1000000, not '2e6'");
    EXPECT_EQ(Parse({"--scale", "0", "d"}).error, "--scale takes a number from 1 to 999, not '0'");
}

TEST(ReportOptions, ExclusionsAddUpAndDatesAreReadInTheLocalZone) {
    CScopedTimeZone zone("Asia/Kathmandu");
    const ParsedReportOptions parsed =
        Parse({"--exclude", "build", "--exclude-vcs", "--exclude=*.tmp", "-x", "--since", "2024-01-01", "d"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.filter.excludedNames, (std::vector<std::string>{"build", "*.tmp"}));
    EXPECT_TRUE(parsed.options.filter.excludeVersionControl);
    EXPECT_TRUE(parsed.options.filter.oneFileSystem);
    EXPECT_TRUE(Parse({"--one-file-system", "d"}).options.filter.oneFileSystem);
    EXPECT_FALSE(Parse({"d"}).options.filter.LeavesOutNames());
    EXPECT_EQ(parsed.options.filter.since, 1704046500) << "midnight at +05:45";
    EXPECT_FALSE(parsed.options.filter.until);
}

// Each view's WHEN names the bin that holds the moment; anything else is a one-line error.
TEST(ReportOptions, FilesAtTakesEachViewsOwnMoment) {
    struct Case {
        const char* view;
        const char* when;
        int bin; // -1: refused
    };
    const Case cases[] = {
        {"day", "14:30", 870},         {"day", "0:00", 0},          {"day", "23:59", 1439},
        {"day", "24:00", -1},          {"day", "14:60", -1},        {"day", "Tue 14:30", -1},
        {"day", "14:3", -1},           {"day", "", -1},             {"week", "Sun 00:00", 0},
        {"week", "sunday 00:06", 1},   {"week", "WED 12:05", 840},  {"week", "Sat 23:59", 1679},
        {"week", "Tues 10:00", -1},    {"week", "14:30", -1},       {"month", "1 00:29", 0},
        {"month", "29 12:00", 1368},   {"month", "31 23:59", 1487}, {"month", "32 00:00", -1},
        {"month", "0 10:00", -1},      {"year", "Jan-01 00:00", 0}, {"year", "Jan-01 18:00", 3},
        {"year", "jul-01 00:00", 724}, {"year", "Dec-31 23:59", 1459}, {"year", "Feb-29 12:00", -1},
        {"year", "Mar 05 14:30", -1},  {"year", "Mar-5 14:30", 254},  {"day", "-0:30", -1},
        {"day", "12:-0", -1},          {"week", "Mon 1:-0", -1},    {"year", "Mar-05 -0:00", -1},
    };
    for (const Case& c : cases) {
        const ParsedReportOptions parsed = Parse({"--view", c.view, "--files-at", c.when, "d"});
        if (c.bin < 0) {
            EXPECT_EQ(parsed.error.find("--files-at in the " + std::string(c.view) + " view takes "), 0u)
                << c.view << " '" << c.when << "': " << parsed.error;
            EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
        } else {
            EXPECT_EQ(parsed.error, "") << c.view << " '" << c.when << "'";
            EXPECT_EQ(parsed.options.filesAtBin, c.bin) << c.view << " '" << c.when << "'";
        }
    }
    EXPECT_TRUE(Parse({"--view", "year", "--files-at", "feb-29 12:00", "d"})
                    .error.ends_with(": the year view's bins follow a common year of 365 days, which has no "
                                     "Feb-29 (a leap year's bins are each a little longer)"));
    EXPECT_EQ(Parse({"--files-at", "14:30", "d"}).options.filesAtBin, 870) << "the day view by default";
    EXPECT_EQ(Parse({"--files-at", "14:30", "--format", "summary", "d"}).error, "");
    EXPECT_NE(Parse({"--files-at", "14:30", "--format", "csv", "d"}).error, "");
    EXPECT_NE(Parse({"--files-at", "14:30", "--png", "x.png", "d"}).error, "");
}

} // namespace
