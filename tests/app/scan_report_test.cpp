// The messages that end an analysis.
#include "scan_report.h"
#include "stamp_store.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <optional>
#include <string>

// What the status bar says when an analysis ends: nothing when all was read and nothing left out,
// else why the graph shows less or nothing. The walk's problems alone are worded the same way
// wherever they are reported.
TEST(ScanReport, TheEndOfAnAnalysisSaysWhyTheGraphShowsLessOrNothing) {
    using Outcome = CBackgroundWalk::Outcome;
    struct Case {
        Outcome outcome;
        ScanProblems problems; // unreadable folders, the root's error, ...
        LeftOutCounts leftOut;
        std::optional<std::string> message;
        std::string label = "/home";
    };
    const Case cases[] = {
        {Outcome::Complete, {}, {}, std::nullopt},
        {Outcome::Complete, {0, EACCES, 0, 0, {}}, {}, "Cannot read /secret: Permission denied.", "/secret"},
        // The root's own failure is what matters.
        {Outcome::Complete, {3, ENOENT, 0, 0, {}}, {}, "Cannot read /x: No such file or directory.", "/x"},
        {Outcome::Complete, {1, 0, 0, 0, {}}, {}, "1 folder could not be read."},
        {Outcome::Complete, {12, 0, 0, 0, {}}, {}, "12 folders could not be read."},
        // A stop leaves what was shown before, whatever the walk had met.
        {Outcome::Stopped, {2, 0, 0, 0, {}}, {}, "Analysis stopped."},
        {Outcome::Stopped, {}, {1, 1, 1, {}}, "Analysis stopped."},
        // Memory that ran out during the walk, or a thread the walk could not have.
        {Outcome::Complete, {2, ENOMEM, 0, 0, {}}, {}, "Not enough memory to analyze /home."},
        {Outcome::NoThread, {}, {}, "Not enough memory to analyze /home."},
        // What the leave-out rules kept out follows the problems; counts of nothing are not named.
        {Outcome::Complete, {}, {0, std::nullopt, 3, {}}, "3 mount points left out."},
        {Outcome::Complete,
         {2, 0, 0, 0, {}},
         {12, 4, 3, {}},
         "2 folders could not be read. 12 entries, 4 files outside the time range and 3 mount points left "
         "out."},
        {Outcome::Complete,
         {},
         {1, 1, 1, {}},
         "1 entry, 1 file outside the time range and 1 mount point left out."},
    };
    for (const Case& c : cases) {
        SourceLoad load;
        load.leftOut = c.leftOut;
        EXPECT_EQ(AnalysisOutcomeMessage(c.outcome, load, c.problems, c.label), c.message);
        if (c.outcome == Outcome::Complete && !LeftOutMessage(c.leftOut)) {
            EXPECT_EQ(ScanProblemMessage(c.problems, c.label), c.message);
        }
    }

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
