// The pure parts of the shell: dialog-unit arithmetic, band rows, the scan report and the string table.
#include "band_flow.h"
#include "command_ids.h"
#include "command_line.h"
#include "dialog_units.h"
#include "scan_report.h"
#include "stamp_store.h"
#include "string_table.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

TEST(DialogUnits, ScaleByAQuarterOfTheWidthAndAnEighthOfTheHeight) {
    const DialogBaseUnits base{6, 13};
    EXPECT_EQ(DialogUnitsToPixels(QRect(236, 160, 27, 14), base), QRect(354, 260, 41, 23));
    // Rounded to the nearest pixel: 43 * 6 / 4 = 64.5 -> 65, 17 * 13 / 8 = 27.625 -> 28.
    EXPECT_EQ(DialogUnitsToPixels(QRect(43, 0, 1, 17), base), QRect(65, 0, 2, 28));
    EXPECT_EQ(DialogUnitsToPixels(QRect(0, 0, 0, 0), base), QRect(0, 0, 0, 0));
}

TEST(DialogUnits, BaseUnitsComeFromTheDialogFont) {
    const DialogBaseUnits base = BaseUnitsOf(DialogFont());
    EXPECT_GT(base.avgCharWidth, 3);
    EXPECT_LT(base.avgCharWidth, 10);
    EXPECT_GT(base.charHeight, base.avgCharWidth);
}

TEST(BandFlow, ABandThatWouldReachPastTheRowsEndStartsTheNext) {
    using Starts = std::vector<bool>;
    EXPECT_EQ(BandRowStarts({100, 200, 150}, 1000), (Starts{true, false, false}));
    EXPECT_EQ(BandRowStarts({100, 200, 150}, 450), (Starts{true, false, false})) << "an exact fit";
    EXPECT_EQ(BandRowStarts({100, 200, 150}, 449), (Starts{true, false, true}));
    EXPECT_EQ(BandRowStarts({250, 200, 150}, 350), (Starts{true, true, false})) << "the next row fills up";
    EXPECT_EQ(BandRowStarts({100, 200, 150}, 50), (Starts{true, true, true})) << "too wide for any row";
    EXPECT_TRUE(BandRowStarts({}, 300).empty());
}

TEST(ScanReport, RootErrorNamesThePathAndTheReason) {
    ScanProblems problems;
    problems.rootError = EACCES;
    EXPECT_EQ(ScanProblemMessage(problems, "/root/secret"), "Cannot read /root/secret: Permission denied.");
    problems.rootError = ENOENT;
    problems.unreadableFolders = 3; // the root's own failure is what matters
    EXPECT_EQ(ScanProblemMessage(problems, "/x"), "Cannot read /x: No such file or directory.");
}

TEST(ScanReport, CountsUnreadableFoldersBelowTheRoot) {
    ScanProblems problems;
    EXPECT_EQ(ScanProblemMessage(problems, "/home"), std::nullopt);
    problems.unreadableFolders = 1;
    EXPECT_EQ(ScanProblemMessage(problems, "/home"), "1 folder could not be read.");
    problems.unreadableFolders = 12;
    EXPECT_EQ(ScanProblemMessage(problems, "/home"), "12 folders could not be read.");
}

TEST(ScanReport, TheEndOfAnAnalysisSaysWhyTheGraphShowsLessOrNothing) {
    using Outcome = CBackgroundWalk::Outcome;
    const auto message = [](Outcome outcome, const ScanProblems& problems, const LeftOutCounts& leftOut = {}) {
        SourceLoad load;
        load.leftOut = leftOut;
        return AnalysisOutcomeMessage(outcome, load, problems, "/home");
    };
    ScanProblems problems;
    EXPECT_EQ(message(Outcome::Complete, problems), std::nullopt);
    problems.unreadableFolders = 2;
    EXPECT_EQ(message(Outcome::Complete, problems), "2 folders could not be read.");
    // A stop leaves what was shown before, whatever the walk had met.
    EXPECT_EQ(message(Outcome::Stopped, problems), "Analysis stopped.");
    // Memory that ran out during the walk, or a thread the walk could not have.
    problems.rootError = ENOMEM;
    EXPECT_EQ(message(Outcome::Complete, problems), "Not enough memory to analyze /home.");
    EXPECT_EQ(message(Outcome::NoThread, {}), "Not enough memory to analyze /home.");

    // What the leave-out rules kept out follows the problems; counts of nothing are not named.
    LeftOutCounts leftOut;
    EXPECT_EQ(message(Outcome::Complete, {}, leftOut), std::nullopt);
    leftOut.excludedEntries = 0;
    leftOut.mountPoints = 3;
    EXPECT_EQ(message(Outcome::Complete, {}, leftOut), "3 mount points left out.");
    leftOut.excludedEntries = 12;
    leftOut.filesOutsideRange = 4;
    EXPECT_EQ(message(Outcome::Complete, ScanProblems{2, 0, 0, 0, {}}, leftOut),
              "2 folders could not be read. 12 entries, 4 files outside the time range and 3 mount points "
              "left out.");
    leftOut = {1, 1, 1, {}};
    EXPECT_EQ(LeftOutMessage(leftOut), "1 entry, 1 file outside the time range and 1 mount point left out.");
    EXPECT_EQ(message(Outcome::Stopped, {}, leftOut), "Analysis stopped.");

    // Notices come first; a source that could not be read says its own problem as a sentence.
    SourceLoad noticed;
    noticed.notices = {"'/a/b' is inside '/a': analysed once"};
    EXPECT_EQ(AnalysisOutcomeMessage(Outcome::Complete, noticed, ScanProblems{1, 0, 0, 0, {}}, "/a"),
              "'/a/b' is inside '/a': analysed once. 1 folder could not be read.");
    SourceLoad refused{SourceLoad::Failure::Unreadable, "cannot read 'x.times': No such file", {}, false, {}, {}};
    EXPECT_EQ(AnalysisOutcomeMessage(Outcome::Complete, refused, {}, "Time list x.times"),
              "Cannot read 'x.times': No such file.");
}

TEST(StringTable, CommandStringsSplitIntoPromptAndToolTip) {
    EXPECT_EQ(CommandPrompt(ID_FILE_NEWFOLDER), QStringLiteral("Choose new folder to analyze"));
    EXPECT_EQ(CommandTip(ID_FILE_NEWFOLDER), QStringLiteral("Analyze new folder"));
    EXPECT_EQ(CommandTip(ID_APP_ABOUT), QStringLiteral("About"));
    // A string without a line break is all prompt.
    EXPECT_EQ(CommandPrompt(AFX_IDS_IDLEMESSAGE), QStringLiteral("For Help, press F1"));
    EXPECT_EQ(CommandTip(AFX_IDS_IDLEMESSAGE), QString());
    EXPECT_EQ(LoadResString(1), QString());
}

TEST(StringTable, EveryMenuCommandHasAPrompt) {
    for (int id : {ID_FILE_NEWFOLDER, ID_APP_EXIT, ID_VIEW_DAY, ID_VIEW_WEEK, ID_VIEW_MONTH, ID_VIEW_YEAR,
                   ID_VIEW_STATUS_BAR, ID_HELP_FINDER, ID_APP_ABOUT})
        EXPECT_FALSE(CommandPrompt(id).isEmpty()) << id;
}

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
        {{"--git", "--author", "ann", "--all", "--author=bo", "/r"}, GitSource{"/r", {true, {"ann", "bo"}}}, ""},
        {{"--git"}, GitSource{".", {}}, ""},
        {{"--times-from", "a.times", "--times-from=-"}, TimeListSource{{"a.times", "-"}, RecordEnd::Detect}, ""},
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
