// The window's command line.
#include "command_line.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

// Qt's own options and their values are skipped; the sources are named as the report names
// them; anything else with a dash is refused.
TEST(CommandLine, TheWindowTakesTheReportsSourcesBesideQtsOwnOptions) {
    struct Case {
        std::vector<std::string> arguments;
        std::optional<AnalysisSource> source;
        std::string error;
    };
    const Case cases[] = {
        {{}, std::nullopt, ""},
        {{"/a"}, FolderSource{{"/a"}, {}}, ""},
        {{"-platform", "offscreen", "/a", "-reverse"}, FolderSource{{"/a"}, {}}, ""},
        {{"--style=fusion", "-display", ":1", "/a"}, FolderSource{{"/a"}, {}}, ""},
        {{"--", "-odd"}, FolderSource{{"-odd"}, {}}, ""},
        {{"-"}, FolderSource{{"-"}, {}}, ""},
        {{"/a", "/b"}, FolderSource{{"/a", "/b"}, {}}, ""},
        {{"--git", "--author", "ann", "--all", "--author=bo", "/r"},
         GitSource{"/r", {true, {"ann", "bo"}}},
         ""},
        {{"--git"}, GitSource{".", {}}, ""},
        {{"--times-from", "a.times", "--times-from=-"},
         TimeListSource{{"a.times", "-"}, RecordEnd::Detect},
         ""},
        {{"-0", "--times-from", "a"}, TimeListSource{{"a"}, RecordEnd::Nul}, ""},
        {{"/a", "--bogus=1"}, std::nullopt, "unknown option '--bogus'"},
        {{"-x"}, std::nullopt, "unknown option '-x'"},
        {{"--author", "ann"}, std::nullopt, "--author needs --git"},
        {{"--git", "/a", "/b"}, std::nullopt, "--git reads one repository: more than one FOLDER given"},
        {{"--times-from", "l", "/a"}, std::nullopt, "--times-from reads lists instead of a FOLDER: '/a'"},
        {{"--times-from"}, std::nullopt, "--times-from needs a file name"},
        {{"--git=yes"}, std::nullopt, "option --git takes no value"},
    };
    for (const Case& test : cases) {
        const WindowArguments parsed = ParseWindowArguments(test.arguments);
        EXPECT_EQ(parsed.error, test.error) << testing::PrintToString(test.arguments);
        EXPECT_EQ(parsed.source, test.source) << testing::PrintToString(test.arguments);
    }
}
