// The messages that end an analysis.
#include "scan_report.h"
#include "stamp_store.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <optional>
#include <string>

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
    const auto message = [](Outcome outcome, const ScanProblems& problems,
                            const LeftOutCounts& leftOut = {}) {
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
    SourceLoad refused{
        SourceLoad::Failure::Unreadable, "cannot read 'x.times': No such file", {}, false, {}, {}};
    EXPECT_EQ(AnalysisOutcomeMessage(Outcome::Complete, refused, {}, "Time list x.times"),
              "Cannot read 'x.times': No such file.");
}
