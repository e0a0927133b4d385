#include "busyscope_version.h"
#include "image_pixels.h"
#include "test_locale.h"
#include "test_tree.h"
#include "without_permission_override.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <regex>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// How a built program is run: its time zone and further environment ("NAME=value"), where its
// standard output goes instead of being captured, and a command (found on PATH) it runs under.
struct RunSetup {
    std::string zone = "UTC";
    std::vector<std::string> environment;
    std::string outPath;
    std::vector<std::string> wrapper;
};

RunSetup Wrapped(std::vector<std::string> wrapper) {
    return {"UTC", {}, {}, std::move(wrapper)};
}

// Runs a built program with the given arguments, capturing both outputs.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     RunSetup setup = {}) {
    CTestTree outputs;
    const std::string capturedOut = outputs.Path("out");
    const std::string errPath = outputs.Path("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string& outPath = setup.outPath.empty() ? capturedOut : setup.outPath;
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argumentStore = setup.wrapper;
    argumentStore.push_back(program);
    argumentStore.insert(argumentStore.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentStore)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string>& environment = setup.environment;
    environment.push_back("TZ=" + setup.zone);
    if (const char* leaks = std::getenv("LSAN_OPTIONS");
        leaks != nullptr) // the sanitized build's suppressions
        environment.push_back(std::string("LSAN_OPTIONS=") + leaks);
    // Under a tracer a sanitized build's leak check cannot stop the process's threads.
    if (!setup.wrapper.empty())
        environment.push_back("ASAN_OPTIONS=detect_leaks=0");
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t child = -1;
    RunResult result;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadFile(capturedOut);
    result.err = ReadFile(errPath);
    return result;
}

RunResult RunReport(const std::vector<std::string>& arguments, const std::string& zone = "UTC",
                    std::vector<std::string> environment = {}) {
    return RunProgram(BUSYSCOPE_REPORT_EXE, arguments, RunSetup{zone, std::move(environment), {}, {}});
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// The pixels of a saved picture drawn in one colour: the curve's, or the compared range's.
constexpr QRgb kCurve = qRgb(85, 85, 255);
constexpr QRgb kComparedCurve = qRgb(204, 0, 102);
int PixelsOf(const std::string& png, QRgb colour) {
    return CountPixels(QImage(QString::fromStdString(png)), IsColour(colour));
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

constexpr std::int64_t kMonday1430 = 1719844200; // Monday 1 July 2024, 14:30:00 UTC

class ReportCommand : public testing::Test {
protected:
    void SetUp() override {
        m_tree.AddFile("a", kMonday1430);
        m_tree.AddFile("b/x", kMonday1430 + 7 * 86400 + 10);
        m_tree.AddFile(".hidden", -1);                // 1969-12-31 23:59:59
        m_tree.AddLink("link-to-b", "b", 2208988800); // 2040-01-01, a file of its own
    }
    CTestTree m_tree;
};

TEST_F(ReportCommand, TimesListsEveryRecordInWholeSeconds) {
    const RunResult run = RunReport({"--format", "times", m_tree.Root()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<std::string> lines = Lines(run.out);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"-1", "1719844200", "1720449010", "2208988800"}));
}

TEST_F(ReportCommand, SummaryHasTheTitleLineAndEachViewsBusiestBin) {
    const RunResult run = RunReport({m_tree.Root()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Averaged over 100 bins the curve first reaches two files where its window takes in both
    // ends of the day (the link at midnight, the hidden file a second before), and in the week
    // 49 bins before Monday 02:30 PM. In the month and the year every file has a bin of its own:
    // the busiest is the first.
    EXPECT_EQ(
        Lines(run.out),
        (std::vector<std::string>{
            "4 files in " + m_tree.Root(),
            "day: busiest 02:30 PM, 2 files; averaged over 100 minutes, busiest 12:00 AM",
            "week: busiest Monday 02:30 PM, 2 files; averaged over 10.0 hours, busiest Monday 09:36 AM",
            "month: busiest Day 01, 12:00 AM, 1 file; averaged over 50.0 hours, busiest Day 01, 12:00 AM",
            "year: busiest 01 January, 12:00 AM, 1 file; averaged over 25.0 days, busiest 01 January, "
            "12:00 AM"}));
}

TEST_F(ReportCommand, CsvHasOneQuotedRowPerBinOfEachView) {
    RunResult run = RunReport({"--format", "csv", m_tree.Root()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u + 1440 + 1680 + 1488 + 1460);
    EXPECT_EQ(lines[0], "view,bin,time,count,start_seconds,width_seconds");
    EXPECT_EQ(lines[1], "day,0,\"12:00 AM\",1,0,60") << "the link's time, 2040-01-01 00:00, a Sunday";
    EXPECT_EQ(lines[1 + 870], "day,870,\"02:30 PM\",2,52200,60");
    EXPECT_EQ(lines[1 + 1440], "week,0,\"Sunday 12:00 AM\",1,0,360");
    EXPECT_EQ(lines[1 + 1440 + 1679], "week,1679,\"Saturday 11:54 PM\",0,604440,360");
    EXPECT_EQ(lines.back(), "year,1459,\"31 December, 06:00 PM\",1,31514400,21600");

    run = RunReport({"--format", "csv", "--view", "month", m_tree.Root()});
    lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u + 1488);
    EXPECT_EQ(lines[1 + 1487], "month,1487,\"Day 31, 11:30 PM\",1,2676600,1800");
}

TEST_F(ReportCommand, BadCommandLinesAreOneLineErrors) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--view", "hour", "x"},
          {"--png", "-", "--format", "csv"},
          {"-q"},
          {"--format"},
          {"--bogus", "x"},
          {"--since", "2024-02-30", "x"},
          {"--until", "31.03.2024", "x"},
          {"--exclude=", "x"},
          {"--since", "2024-05-01", "--until", "2024-04-01T23:59", "x"},
          {"--version=1"},
          {"--times-from", "list", "x"},
          {"--times-from", "list", "--git"},
          {"--times-from", "list", "--since", "2024-01-01"},
          {"--times-from", "-", "--times-from=-"},
          {"--null", "x"},
          {"--author", "ada", "x"},
          {"--all", "x"}}) {
        const RunResult run = RunReport(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_TRUE(Contains(run.err, "(see busyscope-report --help)")) << run.err;
    }
}

// A message shows the user's argument or path as paths are shown: control bytes, bytes that are
// not UTF-8 and backslashes escaped, on its one line.
TEST_F(ReportCommand, MessagesShowArgumentsAndPathsAsPathsAreShown) {
    const std::string odd = "o\\d\xff\x1b";
    const std::string shown = "o\\\\d\\xff\\x1b";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{BUSYSCOPE_REPORT_EXE, "--view", odd}, "unknown view '" + shown + "'"},
        {{BUSYSCOPE_REPORT_EXE, "--files-at", odd}, ", not '" + shown + "'"},
        {{BUSYSCOPE_REPORT_EXE, "--" + odd}, "unknown option '--" + shown + "'"},
        {{BUSYSCOPE_REPORT_EXE, m_tree.Path(odd)}, "cannot read folder '" + m_tree.Path(shown) + "'"},
        {{BUSYSCOPE_REPORT_EXE, "--times-from", m_tree.Path(odd)}, m_tree.Path(shown)},
        {{BUSYSCOPE_EXE, "--" + odd}, "--" + shown},
    };
    for (const auto& [command, message] : cases) {
        const RunResult run = RunProgram(command.front(), {command.begin() + 1, command.end()});
        EXPECT_NE(run.exitCode, 0) << message;
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_TRUE(Contains(run.err, message)) << run.err;
    }
}

// The histograms are sums: the lists of two halves of a tree, one written by --format times and
// one by find, merged, give the same CSV as one walk of the whole, and so does the whole's list.
TEST_F(ReportCommand, TimeListsRoundTripAndMergeIntoTheWalksCsv) {
    const std::string zone = "Europe/Berlin";
    const RunResult walk = RunReport({"--format", "csv", m_tree.Root()}, zone);
    ASSERT_EQ(walk.exitCode, 0) << walk.err;
    CTestTree lists;
    const auto save = [&](const std::string& name, const std::string& program,
                          const std::vector<std::string>& arguments) {
        const RunSetup setup{zone, {}, lists.Path(name), {}};
        EXPECT_EQ(RunProgram(program, arguments, setup).exitCode, 0) << name;
        return setup.outPath;
    };
    const std::string whole = save("whole", BUSYSCOPE_REPORT_EXE, {"--format", "times", m_tree.Root()});
    const std::string halfB = save("b", BUSYSCOPE_REPORT_EXE, {"--format", "times", m_tree.Path("b")});
    const std::string rest = save(
        "rest", "find",
        {m_tree.Root(), "-path", m_tree.Path("b"), "-prune", "-o", "!", "-type", "d", "-printf", "%T@ %p\n"});
    EXPECT_EQ(Lines(ReadFile(rest)).size(), 3u);
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--times-from", whole}, {"--times-from", halfB, "--times-from=" + rest}}) {
        std::vector<std::string> csv = arguments;
        csv.insert(csv.end(), {"--format", "csv"});
        const RunResult merged = RunReport(csv, zone);
        ASSERT_EQ(merged.exitCode, 0) << merged.err;
        EXPECT_TRUE(merged.out == walk.out) << "the CSV of " << arguments.back();
    }
    const RunResult summary = RunReport({"--times-from", halfB, "--times-from", rest}, zone);
    EXPECT_EQ(Lines(summary.out).at(0), "4 files in " + halfB + ", " + rest);
    const RunResult point = RunReport({"--times-from", halfB, "--times-from", rest, "--view", "week",
                                       "--files-at", "Mon 16:30", "--average", "0"},
                                      zone);
    EXPECT_EQ(Lines(point.out),
              (std::vector<std::string>{"2024-07-08 16:30:10", "2024-07-01 16:30:00\t" + m_tree.Path("a")}))
        << "a time with its path, absolute as the list gave it";
}

// Names with a newline, a tab, a backslash and bytes that are not UTF-8 survive a NUL-ended list:
// written by --format times --null and read back with -0 they give the walk's bins and its
// --files-at paths, and the list written again is the same list; find's list keeps its absolute
// paths.
TEST_F(ReportCommand, NulListsKeepEveryByteOfOddNames) {
    const std::vector<std::string> names{"new\nline", "sub/tab\there", "sub/back\\slash", "bad\xffname.txt",
                                         "sub/deeper/ spaced "};
    for (std::size_t i = 0; i < names.size(); ++i)
        m_tree.AddFile(names[i], kMonday1430 + static_cast<std::int64_t>(i));
    CTestTree lists;
    RunSetup save;
    save.outPath = lists.Path("walk.times");
    ASSERT_EQ(RunProgram(BUSYSCOPE_REPORT_EXE, {"--format", "times", "--null", m_tree.Root()}, save).exitCode,
              0);
    save.outPath = lists.Path("again.times");
    ASSERT_EQ(RunProgram(BUSYSCOPE_REPORT_EXE,
                         {"--times-from", lists.Path("walk.times"), "-0", "--format", "times", "-0"}, save)
                  .exitCode,
              0);
    EXPECT_TRUE(ReadFile(lists.Path("again.times")) == ReadFile(lists.Path("walk.times")));
    save.outPath = lists.Path("find.times");
    ASSERT_EQ(RunProgram("find", {m_tree.Root(), "!", "-type", "d", "-printf", "%T@ %p\\0"}, save).exitCode,
              0);

    const std::vector<std::string> pointAt{"--files-at", "14:30", "--average", "0"};
    const auto run = [&](std::vector<std::string> arguments, const std::vector<std::string>& more) {
        arguments.insert(arguments.end(), more.begin(), more.end());
        const RunResult result = RunReport(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.out;
    };
    const std::string walkPoint = run({m_tree.Root()}, pointAt);
    EXPECT_EQ(Lines(walkPoint).size(), names.size() + 2) << walkPoint; // and a, b/x
    EXPECT_EQ(run({"--times-from", lists.Path("walk.times"), "--null"}, pointAt), walkPoint);
    EXPECT_EQ(run({"--times-from", lists.Path("walk.times"), "--null", "--format", "csv"}, {}),
              run({"--format", "csv", m_tree.Root()}, {}));
    std::vector<std::string> walkPaths;
    for (const std::string& line : Lines(walkPoint))
        walkPaths.push_back(m_tree.Root() + "/" + line.substr(line.find('\t') + 1));
    std::vector<std::string> findPaths;
    for (const std::string& line : Lines(run({"--times-from", lists.Path("find.times"), "-0"}, pointAt)))
        findPaths.push_back(line.substr(line.find('\t') + 1));
    std::sort(walkPaths.begin(), walkPaths.end());
    std::sort(findPaths.begin(), findPaths.end());
    EXPECT_EQ(findPaths, walkPaths);

    // An endless NUL-ended list ends at its first empty record, refused with nothing reported.
    const RunResult endless = RunReport({"--times-from", "/dev/zero", "-0"});
    EXPECT_EQ(endless.exitCode, 2);
    EXPECT_EQ(endless.out, "");
    EXPECT_EQ(endless.err, "busyscope-report: /dev/zero:1: not a time: ''\n");
}

// A commit made by git at 10:00 in Tokyo counts at 10:00 in any zone.
TEST(ReportCommandGit, CommitsCountAtTheirAuthorsClockInAnyZone) {
    CTestTree tree;
    const std::string repository = tree.Root();
    RunSetup git;
    git.environment = {"HOME=" + repository,
                       "GIT_AUTHOR_NAME=Ada",
                       "GIT_AUTHOR_EMAIL=ada@example.org",
                       "GIT_COMMITTER_NAME=Ada",
                       "GIT_COMMITTER_EMAIL=ada@example.org",
                       "GIT_AUTHOR_DATE=2024-07-01T10:00:00+09:00"};
    ASSERT_EQ(RunProgram("git", {"-C", repository, "init", "-q"}, git).exitCode, 0);
    ASSERT_EQ(
        RunProgram("git", {"-C", repository, "commit", "-q", "--allow-empty", "-m", "work"}, git).exitCode,
        0);
    for (const char* zone : {"Asia/Tokyo", "America/New_York"}) {
        const RunResult run = RunReport({"--git", "--view", "week", repository}, zone);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Lines(run.out),
                  (std::vector<std::string>{"1 commits in " + repository,
                                            "week: busiest Monday 10:00 AM, 1 commit; averaged over "
                                            "10.0 hours, busiest Monday 05:06 AM"}))
            << zone;
    }

    // A second commit in the same second: the point lists both by id and subject, the burst is of commits.
    ASSERT_EQ(
        RunProgram("git", {"-C", repository, "commit", "-q", "--allow-empty", "-m", "more\n\nbody"}, git)
            .exitCode,
        0);
    const std::string ids =
        RunProgram("git", {"-C", repository, "log", "--format=%h", "--abbrev=12"}, git).out;
    const RunResult files =
        RunReport({"--git", "--files-at", "10:00", "--average", "0", repository}, "Asia/Tokyo");
    ASSERT_EQ(files.exitCode, 0) << files.err;
    std::vector<std::string> listed = Lines(files.out);
    std::vector<std::string> commits{"2024-07-01 10:00:00\t" + Lines(ids).at(1) + " work",
                                     "2024-07-01 10:00:00\t" + Lines(ids).at(0) + " more"};
    std::sort(listed.begin(), listed.end());
    std::sort(commits.begin(), commits.end());
    EXPECT_EQ(listed, commits);
    const RunResult summary = RunReport({"--git", "--format", "summary", repository}, "Asia/Tokyo");
    EXPECT_EQ(Lines(summary.out).back(), "  2024-07-01 10:00:00, 2 commits") << summary.out;

    const RunResult byAda = RunReport({"--git", "--author", "ADA", "--format", "summary", repository});
    EXPECT_EQ(Lines(byAda.out).front(), "2 commits in " + repository + " by ADA");

    // A commit whose author line has no time is skipped and counted on stderr; the rest is reported.
    const std::string tree0 = Lines(RunProgram("git", {"-C", repository, "write-tree"}, git).out).at(0);
    const std::string whole =
        Lines(RunProgram("git", {"-C", repository, "rev-parse", "HEAD"}, git).out).at(0);
    CTestTree objects;
    std::ofstream(objects.Path("odd"))
        << "tree " << tree0 << "\nparent " << whole
        << "\nauthor Ada <ada@example.org>\ncommitter A <a@b> 1 +0000\n\nodd\n";
    const std::string odd =
        RunProgram("git", {"-C", repository, "hash-object", "-t", "commit", "-w", objects.Path("odd")}, git)
            .out;
    ASSERT_EQ(RunProgram("git", {"-C", repository, "update-ref", "HEAD", Lines(odd).at(0)}, git).exitCode, 0);
    const RunResult skipped = RunReport({"--git", "--format", "summary", repository});
    EXPECT_EQ(skipped.exitCode, 0);
    EXPECT_EQ(Lines(skipped.out).front(), "2 commits in " + repository);
    EXPECT_EQ(skipped.err, "busyscope-report: 1 commit of '" + repository +
                               "' skipped as unreadable: 1 with no author time\n");

    // A loose object cut short ends with the damaged message in bounded time, whatever libgit2 does
    // with it.
    const std::string loose = repository + "/.git/objects/" + whole.substr(0, 2) + "/" + whole.substr(2);
    ASSERT_EQ(::chmod(loose.c_str(), 0644), 0);
    ASSERT_EQ(::truncate(loose.c_str(), 40), 0);
    const RunResult cut = RunProgram("timeout", {"60", BUSYSCOPE_REPORT_EXE, "--git", repository});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err, "busyscope-report: cannot read the history of '" + repository + "': commit " + whole +
                           " is damaged: its object is cut short or damaged\n");

    // A repository of SHA-256 ids is refused, with status 1 under the sanitizers too.
    ASSERT_EQ(
        RunProgram("git", {"init", "-q", "--object-format=sha256", tree.Path("inside/sha256")}, git).exitCode,
        0);
    const RunResult sha256 = RunReport({"--git", tree.Path("inside/sha256")});
    EXPECT_EQ(sha256.exitCode, 1);
    EXPECT_EQ(sha256.err, "busyscope-report: cannot open the repository '" + tree.Path("inside/sha256") +
                              "': unsupported extension name extensions.objectformat\n");
}

TEST_F(ReportCommand, OddFolderNamesKeepEveryFormatWellFormed) {
    const std::string odd = "q\"uote\\back\nnew\r\t\x01\x1f\x7f,\xff\xed\xa0\x80\xc3";
    m_tree.AddFile(odd + "/f", kMonday1430);
    const std::string folder = m_tree.Path(odd);

    const RunResult json = RunReport({"--format", "json", folder});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    // Strict JSON: valid UTF-8, and no control character but the newlines between members.
    EXPECT_EQ(QString::fromUtf8(json.out).toUtf8().toStdString(), json.out);
    EXPECT_EQ(std::count_if(
                  json.out.begin(), json.out.end(),
                  [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F; }),
              0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(document.object().value("folder").toString(),
              QString::fromStdString(m_tree.Root() + "/q\"uote\\back\nnew\r\t\x01\x1f\x7f,") +
                  QString(5, QChar::ReplacementCharacter));
    EXPECT_EQ(document.object().value("files").toInt(), 1);
    EXPECT_EQ(document.object().value("version").toString(), QString::fromLatin1(kBusyscopeVersion));
    EXPECT_EQ(document.object().value("timeZone").toString(), "UTC");
    // Bins follow each other without a gap and together make up their whole period.
    const QJsonArray views = document.object().value("views").toArray();
    ASSERT_EQ(views.size(), 4);
    const std::int64_t periods[] = {86400, 7 * 86400, 31 * 86400, 365 * 86400};
    for (qsizetype view = 0; view < views.size(); ++view) {
        std::int64_t end = 0;
        for (const QJsonValue bin : views[view].toObject().value("bins").toArray()) {
            ASSERT_EQ(bin.toObject().value("startSeconds").toInteger(), end) << view;
            end += bin.toObject().value("widthSeconds").toInteger();
        }
        EXPECT_EQ(end, periods[view]) << view;
    }
    EXPECT_EQ(views[1].toObject().value("view").toString(), "week");
    EXPECT_EQ(views[1].toObject().value("bins").toArray().last().toObject(),
              (QJsonObject{{"bin", 1679},
                           {"time", "Saturday 11:54 PM"},
                           {"startSeconds", 604440},
                           {"widthSeconds", 360},
                           {"count", 0}}));
    EXPECT_EQ(views[0].toObject().value("bins").toArray()[870].toObject().value("count").toInt(), 1);
    const RunResult weekOnly = RunReport({"--format", "json", "--view", "week", folder});
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(weekOnly.out))["views"].toArray().size(), 1);

    const RunResult csv = RunReport({"--format", "csv", folder});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    const std::regex row(R"((day|week|month|year),\d+,"[^"\n]*",\d+,\d+,\d+)");
    const std::vector<std::string> rows = Lines(csv.out);
    ASSERT_EQ(rows.size(), 1u + 1440 + 1680 + 1488 + 1460);
    for (std::size_t i = 1; i < rows.size(); ++i)
        ASSERT_TRUE(std::regex_match(rows[i], row)) << rows[i];

    const RunResult summary = RunReport({folder});
    ASSERT_EQ(summary.exitCode, 0) << summary.err;
    EXPECT_EQ(Lines(summary.out).size(), 5u) << summary.out;
    EXPECT_EQ(Lines(summary.out)[0],
              "1 files in " + m_tree.Root() +
                  "/q\"uote\\\\back\\x0anew\\x0d\\x09\\x01\\x1f\\x7f,\\xff\\xed\\xa0\\x80\\xc3");
}

// --files-at lists the files of the bins the curve sums at WHEN, wrap round midnight included,
// and counts them by folder with --format summary.
TEST_F(ReportCommand, FilesAtListsTheFilesBehindAPointOfTheCurve) {
    const auto sortedLines = [](const RunResult& run) {
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::vector<std::string> lines = Lines(run.out);
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    EXPECT_EQ(sortedLines(RunReport({"--files-at", "14:30", m_tree.Root()})),
              (std::vector<std::string>{"2024-07-01 14:30:00\ta", "2024-07-08 14:30:10\tb/x"}));
    EXPECT_EQ(sortedLines(RunReport({"--files-at", "00:00", m_tree.Root()})),
              (std::vector<std::string>{"1969-12-31 23:59:59\t.hidden", "2040-01-01 00:00:00\tlink-to-b"}));
    EXPECT_EQ(sortedLines(RunReport({"--files-at", "00:00", "--average", "0", m_tree.Root()})),
              (std::vector<std::string>{"2040-01-01 00:00:00\tlink-to-b"}));
    EXPECT_EQ(
        sortedLines(RunReport({"--files-at", "Mon 14:30", "--view=week", "--average=0", m_tree.Root()})),
        (std::vector<std::string>{"2024-07-01 14:30:00\ta", "2024-07-08 14:30:10\tb/x"}));
    EXPECT_EQ(
        sortedLines(RunReport({"--files-at", "14:30", "--format", "summary", m_tree.Root()})),
        (std::vector<std::string>{"02:30 PM \u00b1 50 minutes: 2 files", "1\t50.0%\t.", "1\t50.0%\tb"}));

    const RunResult bad = RunReport({"--files-at", "Mon 14:30", m_tree.Root()});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "busyscope-report: --files-at in the day view takes HH:MM, such as '14:30', not "
                       "'Mon 14:30' (see busyscope-report --help)\n");
}

TEST_F(ReportCommand, UnreadableSubfoldersAreReportedOnStderr) {
    m_tree.AddFile("closed/f", 5);
    m_tree.SetMode("closed", 0);
    RunWithoutPermissionOverride([&] {
        const RunResult run = RunReport({"--format", "times", m_tree.Root()});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(Lines(run.out).size(), 4u);
        EXPECT_EQ(run.err, "busyscope-report: cannot read '" + m_tree.Path("closed") +
                               "': Permission denied\nbusyscope-report: 1 folder below '" + m_tree.Root() +
                               "' could not be read\n");
        const RunResult two = RunReport({"--format", "times", m_tree.Path("b"), m_tree.Root()});
        EXPECT_TRUE(Contains(two.err, "cannot read '" + m_tree.Path("closed") + "': Permission denied\n"))
            << "below several folders, named with its own: " << two.err;
    });
}

// Every line of text is a whole number: the times format.
bool AllWholeNumbers(const std::string& text) {
    for (const std::string& line : Lines(text))
        if (line.empty() || line.find_first_not_of("-0123456789") != std::string::npos)
            return false;
    return true;
}

// --jobs reaches the walk: the calling thread reads too, so N jobs start N - 1 threads.
TEST(ReportCommandThreads, JobsSetsHowManyThreadsReadTheTree) {
    CTestTree tree;
    for (int i = 0; i < 40; ++i)
        tree.AddFile("d" + std::to_string(i % 8) + "/f" + std::to_string(i), 1000 + i);
    CTestTree logs;
    const std::string log = logs.Path("clones");
    for (const int jobs : {1, 3, 16}) {
        const RunResult run = RunProgram(
            BUSYSCOPE_REPORT_EXE, {"--format", "times", "--jobs", std::to_string(jobs), tree.Root()},
            Wrapped({"strace", "-f", "-qq", "-o", log, "-e", "trace=clone,clone3"}));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Lines(run.out).size(), 40u);
        const std::vector<std::string> clones = Lines(ReadFile(log));
        EXPECT_EQ(std::count_if(clones.begin(), clones.end(),
                                [](const std::string& line) { return Contains(line, "CLONE_THREAD"); }),
                  jobs - 1)
            << jobs << " jobs";
    }
}

TEST(ReportCommandSpecialPlaces, ProcSysAndDevEndQuicklyAndOnlyFoldersAreOpened) {
    CTestTree tree;
    tree.AddFifo("sub/fifo", 5); // opened for reading, it would block the walk
    tree.AddFile("sub/f", 6);
    CTestTree logs;
    const std::string log = logs.Path("opens");
    for (const std::string& root :
         {std::string("/proc"), std::string("/sys"), std::string("/dev"), tree.Root()}) {
        const auto started = std::chrono::steady_clock::now();
        const RunResult run = RunProgram(BUSYSCOPE_REPORT_EXE, {"--format", "times", root},
                                         Wrapped({"timeout", "-s", "KILL", "120", "strace", "-f", "-qq", "-o",
                                                  log, "-e", "trace=open,openat,openat2"}));
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started)
                .count();
        EXPECT_EQ(run.exitCode, 0) << root << ": " << run.err;
        EXPECT_LT(seconds, 60) << root;
        EXPECT_TRUE(AllWholeNumbers(run.out)) << root;
        // The walk opens the chosen folder by its path and the rest relative to their parents;
        // each of those opens must insist on a folder.
        int walkOpens = 0;
        for (const std::string& line : Lines(ReadFile(log))) {
            const bool relative = Contains(line, "openat(") && !Contains(line, "openat(AT_FDCWD");
            if (!relative && !Contains(line, "\"" + root + "\""))
                continue;
            ++walkOpens;
            EXPECT_TRUE(Contains(line, "O_DIRECTORY")) << line;
        }
        EXPECT_GT(walkOpens, 1) << root << ": the chosen folder and some below it";
    }
    EXPECT_EQ(Lines(RunReport({"--format", "times", tree.Root()}).out).size(), 2u);

    // A fifo chosen as the folder is refused without being opened.
    const RunResult fifo =
        RunProgram(BUSYSCOPE_REPORT_EXE, {tree.Path("sub/fifo")}, Wrapped({"timeout", "-s", "KILL", "60"}));
    EXPECT_EQ(fifo.exitCode, 1);
    EXPECT_TRUE(Contains(fifo.err, "Not a directory")) << fifo.err;
}

// A walk long enough to be watched and stopped: a chain of folders read by one thread.
TEST(ReportCommandOnATerminal, ShowsProgressInPlaceAndStopsCleanlyOnCtrlC) {
    CTestTree tree;
    tree.AddChain("chain", 40000, "level", kMonday1430); // deep enough to walk for a good while
    CTestTree outputs;
    const std::string outPath = outputs.Path("out");
    int terminal = -1;
    int terminalSide = -1;
    ASSERT_EQ(::openpty(&terminal, &terminalSide, nullptr, nullptr, nullptr), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, terminalSide, 2);
    std::string program = BUSYSCOPE_REPORT_EXE, jobs = "--jobs=1", folder = tree.Root();
    char* argv[] = {program.data(), jobs.data(), folder.data(), nullptr};
    char* envp[] = {nullptr};
    pid_t child = -1;
    ASSERT_EQ(posix_spawn(&child, BUSYSCOPE_REPORT_EXE, &actions, nullptr, argv, envp), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(terminalSide);

    // Read the terminal until two progress lines have come, then press Ctrl+C.
    std::string shown;
    const auto start = std::chrono::steady_clock::now();
    const std::regex line(
        "\rScanning: [0-9]{1,3}(,[0-9]{3})* files in [0-9]{1,3}(,[0-9]{3})* folders\\.\\.\\.");
    while (std::distance(std::sregex_iterator(shown.begin(), shown.end(), line), std::sregex_iterator()) <
               2 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
        pollfd ready{terminal, POLLIN, 0};
        char buffer[4096];
        if (::poll(&ready, 1, 100) == 1) {
            const ssize_t got = ::read(terminal, buffer, sizeof buffer);
            if (got <= 0)
                break;
            shown.append(buffer, static_cast<std::size_t>(got));
        }
    }
    const auto firstLines = std::chrono::steady_clock::now() - start;
    ::kill(child, SIGINT);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    EXPECT_GE(firstLines, std::chrono::milliseconds(150)) << "at most ten lines a second";
    EXPECT_TRUE(std::regex_search(shown, line)) << shown;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
    EXPECT_EQ(ReadFile(outPath), "") << "a stopped walk prints no report";

    const RunResult toFile = RunReport({"--jobs=1", tree.Root()});
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_EQ(toFile.err, "") << "no progress when stderr is not a terminal";
}

// Three hundred files over eight hours, and a folder for pictures outside the tree, which every
// run reads again.
class ReportCommandPicture : public testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 300; ++i)
            m_tree.AddFile("f" + std::to_string(i), kMonday1430 + 97 * i);
    }
    CTestTree m_tree;
    CTestTree m_pictures;
};

TEST_F(ReportCommandPicture, PngIsTheGraphAtTheAskedSize) {
    const std::string png = m_pictures.Path("graph.png");
    const RunResult run =
        RunReport({"--png", png, "--width", "640", "--height", "360", "--average", "5", m_tree.Root()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "") << "no word from Qt, though XDG_RUNTIME_DIR is not set here";

    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(640, 360));
    EXPECT_GT(CountPixels(image, IsColour(kCurve)), 200);

    const RunResult toStdout =
        RunReport({"--png", "-", "--width=640", "--height=360", "--average=5", m_tree.Root()});
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_TRUE(toStdout.out == ReadFile(png)) << "--png - writes the same picture to standard output";
}

// With no folder the current one is read; several are read as one, the title naming the first.
TEST(ReportCommandFolders, NoneMeansHereAndSeveralMakeOne) {
    CTestTree tree;
    tree.AddFile("one/a", kMonday1430);
    tree.AddFile("two/b", kMonday1430 + 60);
    tree.AddFile("two/c", kMonday1430 + 60);
    tree.AddFile("three/d", kMonday1430 + 120);
    RunResult run =
        RunProgram(BUSYSCOPE_REPORT_EXE, {"-f", "times"}, Wrapped({"env", "-C", tree.Path("two")}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out), (std::vector<std::string>(2, std::to_string(kMonday1430 + 60))));

    run = RunReport(
        {"--view", "day", "--average", "0", tree.Path("one"), tree.Path("two"), tree.Path("three")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{
                  "4 files in " + tree.Path("one") + " and 2 more folders",
                  "day: busiest 02:31 PM, 2 files; averaged over 1 minutes, busiest 02:31 PM",
                  "largest bursts (files written within 2 seconds of one another into the same folder):",
                  "  2024-07-01 14:31:00, 2 files, 100.0% in " + tree.Path("two")}));
    run = RunReport({"--files-at", "14:31", "--average", "0", tree.Path("one"), tree.Path("two")});
    EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"2024-07-01 14:31:00\t" + tree.Path("two/b"),
                                                        "2024-07-01 14:31:00\t" + tree.Path("two/c")}))
        << "each path says which folder it is in";

    run = RunReport({tree.Path("one"), tree.Path("missing"), tree.Path("two")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "busyscope-report: cannot read folder '" + tree.Path("missing") +
                           "': No such file or directory\n");
}

// A folder given twice, inside another given one, through a link or by two spellings is walked
// once, its files counted and listed once, and a note names the folder left out.
TEST(ReportCommandFolders, AFolderInsideAnotherGivenIsWalkedOnce) {
    CTestTree tree;
    tree.AddFile("A/f", kMonday1430);
    tree.AddFile("A/sub/g", kMonday1430 + 60);
    tree.AddLink("LINK-TO-A", "A", kMonday1430);
    const std::string a = tree.Path("A");
    const std::vector<std::string> once{std::to_string(kMonday1430), std::to_string(kMonday1430 + 60)};
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{a, a}, "'" + a + "' is the same folder as '" + a + "'"},
        {{a + "/sub", a}, "'" + a + "/sub' is inside '" + a + "'"},
        {{a, tree.Path("LINK-TO-A")}, "'" + tree.Path("LINK-TO-A") + "' is the same folder as '" + a + "'"},
        {{".", a + "/."}, "'" + a + "/.' is the same folder as '.'"},
    };
    for (const auto& [folders, note] : cases) {
        std::vector<std::string> arguments{"-f", "times"};
        arguments.insert(arguments.end(), folders.begin(), folders.end());
        const RunResult run = RunProgram(BUSYSCOPE_REPORT_EXE, arguments, Wrapped({"env", "-C", a}));
        std::vector<std::string> times = Lines(run.out);
        std::sort(times.begin(), times.end());
        EXPECT_EQ(run.exitCode, 0) << note;
        EXPECT_EQ(times, once) << note;
        EXPECT_EQ(run.err, "busyscope-report: " + note + ": analysed once\n");
    }
}

// Times no local calendar holds are counted alike by the summary and by the list of times,
// whether files or active minutes are counted.
TEST(ReportCommandFolders, TimesOutsideTheCalendarAreCountedAlikeByEveryFormat) {
    CTestTree tree;
    std::ofstream(tree.Path("list")) << "60\n61\n120\n100000000000000000\n100000000000000010\n"
                                        "-100000000000000000\n9223372036854775807\n";
    for (const auto& [rule, title, outside] :
         {std::tuple{"files", "7 files in " + tree.Path("list"), "4 of them have times"},
          std::tuple{"minutes", "7 files in " + tree.Path("list") + " (5 active minutes)",
                     "3 of the active minutes are"}}) {
        const RunResult times =
            RunReport({"--count", rule, "-f", "times", "--times-from", tree.Path("list")});
        const RunResult summary =
            RunReport({"--count", rule, "--view", "day", "--times-from", tree.Path("list")});
        EXPECT_EQ(Lines(times.out).size(), std::string(rule) == "files" ? 7u : 5u) << times.out;
        ASSERT_GE(Lines(summary.out).size(), 2u) << summary.err;
        EXPECT_EQ(Lines(summary.out)[0], title);
        EXPECT_EQ(Lines(summary.out)[1], std::string(outside) + " outside the local calendar");
    }
}

// The user's locale changes no number, name or clock of any output, the picture included.
TEST_F(ReportCommandPicture, EveryOutputIsTheSameInAnyLocale) {
    const auto outputs = [&](const std::vector<std::string>& environment) {
        std::vector<std::string> seen;
        const std::string png = m_pictures.Path("graph.png");
        const RunResult picture =
            RunReport({"--png", png, "--scale", "2.5", m_tree.Root()}, "UTC", environment);
        EXPECT_EQ(picture.exitCode, 0) << picture.err;
        seen.push_back(ReadFile(png));
        for (const char* format : {"summary", "csv", "json"})
            seen.push_back(RunReport({"--format", format, m_tree.Root()}, "UTC", environment).out);
        seen.push_back(RunReport({"--scale", "1e9", m_tree.Root()}, "UTC", environment).err);
        return seen;
    };
    const std::vector<std::string> c = outputs({"LANG=C"});
    EXPECT_TRUE(Contains(c[2], "\"Monday 02:30 PM\"")) << "csv as the C locale writes it";
    EXPECT_TRUE(Contains(c[4], "--scale takes a number from 1 to 999")) << c[4];
    for (const char* name : kTestLocales) {
        std::string problem;
        const std::string folder = TestLocaleFolder(name, problem);
        if (folder.empty())
            GTEST_SKIP() << problem;
        const std::string locPath = "LOCPATH=" + folder;
        for (const std::vector<std::string>& environment :
             {std::vector<std::string>{locPath, std::string("LANG=") + name},
              {locPath, std::string("LC_ALL=") + name},
              {locPath, "LANG=C", std::string("LC_TIME=") + name, std::string("LC_NUMERIC=") + name}}) {
            SCOPED_TRACE(environment.back());
            const std::vector<std::string> there = outputs(environment);
            EXPECT_TRUE(there[0] == c[0]) << "the picture differs";
            for (std::size_t i = 1; i < c.size(); ++i)
                EXPECT_EQ(there[i], c[i]);
        }
    }
}

// A working copy: the person's own files, and a clone's history, dependencies and build output
// written in one burst at 03:00 UTC on 2 March 2024.
class ReportLeavingOut : public testing::Test {
protected:
    static constexpr std::int64_t kBurst = 1709348400;
    void SetUp() override {
        for (int i = 0; i < 40; ++i) {
            m_tree.AddFile(".git/objects/o" + std::to_string(i), kBurst);
            m_tree.AddFile("node_modules/pkg/f" + std::to_string(i), kBurst);
            m_tree.AddFile("src/m" + std::to_string(i) + ".o", kBurst);
        }
        m_tree.AddFile(".hg", kBurst);
        m_tree.AddFile("src/main.c", kMonday1430);
        m_tree.AddFile("notes.txt", kMonday1430 + 86400);
        m_tree.AddFile("old.txt", kMonday1430 - 365 * 86400);
    }
    // A report of the tree with the options given, then more.
    RunResult Run(std::vector<std::string> options, const std::vector<std::string>& more = {},
                  const std::string& zone = "UTC") {
        options.insert(options.end(), more.begin(), more.end());
        options.push_back(m_tree.Root());
        return RunReport(options, zone);
    }
    CTestTree m_tree;
};

TEST_F(ReportLeavingOut, ExcludedNamesAreLeftOutOfEveryFormatAndThePicture) {
    const std::vector<std::string> leaveOut{"--exclude-vcs", "--exclude", "node_modules", "--exclude=*.o"};
    RunResult result = Run(leaveOut, {"--view", "day"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Lines(result.out),
              (std::vector<std::string>{
                  "3 files in " + m_tree.Root() + " (43 entries left out)",
                  "day: busiest 02:30 PM, 3 files; averaged over 100 minutes, busiest 01:41 PM"}))
        << ".git, .hg, node_modules and the forty object files";

    result = Run(leaveOut, {"--format", "times"});
    EXPECT_EQ(Lines(result.out).size(), 3u);
    const std::string json = Run(leaveOut, {"--format", "json"}).out;
    EXPECT_TRUE(Contains(json, "\"files\": 3,\n"));
    EXPECT_TRUE(Contains(json, "\"excludedEntries\": 43,\n"));
    const std::string csv = Run(leaveOut, {"--format", "csv"}).out;
    EXPECT_TRUE(Contains(csv, "day,870,\"02:30 PM\",3,52200,60\n"));
    EXPECT_TRUE(Contains(csv, "day,180,\"03:00 AM\",0,10800,60\n")) << "no burst";

    // The burst is the busiest minute unless it is left out; the title counts what is kept.
    EXPECT_EQ(Lines(RunReport({"--view", "day", m_tree.Root()}).out).at(1),
              "day: busiest 03:00 AM, 121 files; averaged over 100 minutes, busiest 02:11 AM");
    const std::string png = m_tree.Path("graph.png");
    result = Run(leaveOut, {"--png", png, "--average", "0"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const int keptCurve = PixelsOf(png, kCurve);
    ASSERT_EQ(RunReport({"--png", png, "--average", "0", m_tree.Root()}).exitCode, 0);
    const int allCurve = PixelsOf(png, kCurve);
    EXPECT_GT(keptCurve, 0);
    EXPECT_NE(keptCurve, allCurve) << "the picture is drawn from the files kept";
}

// --count minutes: the burst of 120 files weighs as much as one saved file, in every format
// and the picture; the three files at 14:30 on three days make the busiest minute of the day.
TEST_F(ReportLeavingOut, CountMinutesWeighsEachActiveMinuteOnceInEveryFormat) {
    const std::vector<std::string> minutes{"--count", "minutes"};
    RunResult result = Run(minutes, {"--view", "day"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Lines(result.out),
              (std::vector<std::string>{
                  "124 files in " + m_tree.Root() + " (4 active minutes)",
                  "day: busiest 02:30 PM, 3 minutes; averaged over 100 "
                  "minutes, busiest 01:41 PM",
                  "largest bursts (files written within 2 seconds of one another into the same folder):",
                  "  2024-03-02 03:00:00, 121 files, 100.0% in ."}))
        << "bursts count files whatever the bins count";
    EXPECT_EQ(Lines(Run(minutes, {"--format", "times"}).out),
              (std::vector<std::string>{std::to_string(kMonday1430 - 365 * 86400), std::to_string(kBurst),
                                        std::to_string(kMonday1430), std::to_string(kMonday1430 + 86400)}));
    const std::string json = Run(minutes, {"--format", "json"}).out;
    EXPECT_TRUE(Contains(json, "\"files\": 124,\n  \"count\": \"minutes\",\n  \"activeMinutes\": 4,\n"))
        << json;
    const std::string csv = Run(minutes, {"--format", "csv"}).out;
    EXPECT_TRUE(Contains(csv, "day,870,\"02:30 PM\",3,52200,60\n"));
    EXPECT_TRUE(Contains(csv, "day,180,\"03:00 AM\",1,10800,60\n")) << "the burst is one minute";

    const std::string png = m_tree.Path("graph.png");
    ASSERT_EQ(Run(minutes, {"--png", png, "--average", "0"}).exitCode, 0);
    const int minuteCurve = PixelsOf(png, kCurve);
    ASSERT_EQ(RunReport({"--png", png, "--average", "0", "--count", "files", m_tree.Root()}).exitCode, 0);
    EXPECT_NE(minuteCurve, PixelsOf(png, kCurve));
    EXPECT_EQ(RunReport({"--count", "hours", m_tree.Root()}).exitCode, 2);
}

TEST_F(ReportLeavingOut, TheTimeRangeIsInLocalTimeWithItsEndLeftOut) {
    // In New York 2 March 2024, 03:00 UTC is 1 March, 22:00; the summer-time change on 10 March
    // lies between that and the other files, so a wrong offset at either end shows.
    RunResult result = RunReport(
        {"--since", "2024-03-01T22:00", "--until", "2024-07-01T10:30", "--view", "day", m_tree.Root()},
        "America/New_York");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Lines(result.out),
              (std::vector<std::string>{
                  "121 files in " + m_tree.Root(), "3 files written outside the time range left out",
                  "day: busiest 10:00 PM, 121 files; averaged over 100 "
                  "minutes, busiest 09:11 PM",
                  "largest bursts (files written within 2 seconds of one another into the same folder):",
                  "  2024-03-01 22:00:00, 121 files, 100.0% in ."}));
    result = RunReport(
        {"--since", "2024-03-01T22:00:01", "--until=2024-07-01T10:30:01", "--format", "times", m_tree.Root()},
        "America/New_York");
    EXPECT_EQ(Lines(result.out), std::vector<std::string>{std::to_string(kMonday1430)});
    result = RunReport({"--until", "2024-07-01", "--format", "json", m_tree.Root()}, "America/New_York");
    EXPECT_TRUE(Contains(result.out, "\"files\": 122,\n")) << "a date alone is its midnight";
    EXPECT_TRUE(Contains(result.out, "\"filesOutsideRange\": 2,\n"));
}

// Every output of both programs, sent to a full device, ends with one line naming what could
// not be written and why, and exit status 1.
TEST(ProgramOutput, WhatCannotBeWrittenEndsInAMessageAndStatusOne) {
    CTestTree tree;
    tree.AddFile("a", kMonday1430);
    struct Case {
        const char* program;
        std::vector<std::string> arguments;
        std::string message;
    };
    std::vector<Case> cases{
        {BUSYSCOPE_REPORT_EXE, {"--help"}, "busyscope-report: cannot write the help: "},
        {BUSYSCOPE_REPORT_EXE, {"--version"}, "busyscope-report: cannot write the version: "},
        {BUSYSCOPE_REPORT_EXE,
         {"--png", "/dev/full", tree.Root()},
         "busyscope-report: cannot write '/dev/full': "},
        {BUSYSCOPE_EXE, {"--help"}, "busyscope: cannot write the help: "},
        {BUSYSCOPE_EXE, {"--version"}, "busyscope: cannot write the version: "},
    };
    for (const char* format : {"summary", "csv", "json", "times"})
        cases.push_back({BUSYSCOPE_REPORT_EXE,
                         {"--format", format, tree.Root()},
                         "busyscope-report: cannot write the report: "});
    for (const Case& test : cases) {
        const RunResult run = RunProgram(test.program, test.arguments, RunSetup{"UTC", {}, "/dev/full", {}});
        const std::vector<std::string> errors = Lines(run.err);
        EXPECT_EQ(run.exitCode, 1) << test.message;
        ASSERT_FALSE(errors.empty()) << test.message;
        EXPECT_EQ(errors.back(), test.message + "No space left on device");
    }
}

// Started with standard output closed, --png - fails as a closed descriptor does, though the
// picture is written after the program has opened files of its own.
TEST(ProgramOutput, AClosedStandardOutputIsABadFileDescriptor) {
    CTestTree tree;
    tree.AddFile("a", kMonday1430);
    const RunResult run = RunProgram(BUSYSCOPE_REPORT_EXE, {"--png", "-", tree.Root()},
                                     Wrapped({"sh", "-c", "exec \"$0\" \"$@\" >&-"}));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "busyscope-report: cannot write standard output: Bad file descriptor\n");
}

TEST(ProgramOutput, BothProgramsNameThemselvesAndTheirVersion) {
    for (const auto& [program, name] :
         {std::pair{BUSYSCOPE_REPORT_EXE, "busyscope-report"}, std::pair{BUSYSCOPE_EXE, "busyscope"}}) {
        const RunResult run = RunProgram(program, {"--version"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, std::string(name) + " " + kBusyscopeVersion + "\n");
        EXPECT_EQ(run.err, "");
    }
    // The window's program answers --help without a display.
    const RunResult help = RunProgram(BUSYSCOPE_EXE, {"-platform", "xcb", "--help"});
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_TRUE(Contains(help.out, "Usage: busyscope [OPTION]... [FOLDER]")) << help.out;
    EXPECT_EQ(RunProgram(BUSYSCOPE_EXE, {"-V"}).out, std::string("busyscope ") + kBusyscopeVersion + "\n");
}

// The window's program refuses what it does not know as the report does: one line, status 2,
// with no display needed.
TEST(ProgramOutput, TheWindowsProgramRefusesUnknownOptionsAndBadSources) {
    for (const auto& [arguments, message] :
         {std::pair{std::vector<std::string>{"--bogus", "/tmp"}, "busyscope: unknown option '--bogus'"},
          std::pair{std::vector<std::string>{"-q"}, "busyscope: unknown option '-q'"},
          std::pair{std::vector<std::string>{"--git", "/tmp", "/usr"},
                    "busyscope: --git reads one repository: more than one FOLDER given"}}) {
        const RunResult run = RunProgram(BUSYSCOPE_EXE, arguments);
        EXPECT_EQ(run.exitCode, 2) << message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string(message) + " (see busyscope --help)\n");
    }
}

#if !defined(__SANITIZE_ADDRESS__) // AddressSanitizer maps far more than any limit set here
// Memory running out while a folder is read: one line naming the folder, status 1, no report.
TEST(ReportCommandMemory, RunningOutIsAOneLineErrorAndStatusOne) {
    CTestTree small;
    small.AddFile("a", kMonday1430);
    // Two hundred thousand names for four files: several megabytes of listing and records.
    CTestTree big;
    for (int file = 0; file < 4; ++file) {
        const std::string name = "f" + std::to_string(file);
        big.AddFile(name, kMonday1430);
        for (int link = 1; link < 50000; ++link)
            ASSERT_EQ(::link(big.Path(name).c_str(), big.Path(name + "-" + std::to_string(link)).c_str()), 0);
    }
    const auto runWithin = [](std::int64_t megabytes, const std::string& folder) {
        return RunProgram(BUSYSCOPE_REPORT_EXE, {"--jobs", "1", folder},
                          Wrapped({"prlimit", "--as=" + std::to_string(megabytes << 20)}));
    };
    // The smallest address space, to the megabyte, in which the small folder is reported.
    std::int64_t tooSmall = 8;
    std::int64_t enough = 4096;
    ASSERT_EQ(runWithin(enough, small.Root()).exitCode, 0);
    while (enough - tooSmall > 1) {
        const std::int64_t middle = (tooSmall + enough) / 2;
        (runWithin(middle, small.Root()).exitCode == 0 ? enough : tooSmall) = middle;
    }
    const RunResult run = runWithin(enough + 1, big.Root());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "busyscope-report: not enough memory to analyze '" + big.Root() + "'\n");
    EXPECT_EQ(runWithin(enough + 1, small.Root()).exitCode, 0);
}
#endif

// The mount points below /dev (a devpts, a tmpfs) are named in the JSON and, with --verbose, on
// standard error, when -x leaves them out.
TEST(ReportCommandMounts, MountPointsLeftOutAreNamed) {
    std::ifstream table("/proc/self/mountinfo");
    std::set<std::string> below;
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string skip, mountPoint;
        fields >> skip >> skip >> skip >> skip >> mountPoint;
        if (mountPoint.starts_with("/dev/") && mountPoint.find('/', 5) == std::string::npos)
            below.insert(mountPoint);
    }
    if (below.empty())
        GTEST_SKIP() << "nothing is mounted below /dev here";
    const RunResult run = RunReport({"--verbose", "-x", "--format", "json", "--view", "year", "/dev"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    const QJsonArray named = json["mountPointPathsLeftOut"].toArray();
    EXPECT_EQ(json["mountPointsLeftOut"].toInt(), named.size());
    for (const std::string& mountPoint : below) {
        EXPECT_TRUE(Contains(run.err, "busyscope-report: mount point '" + mountPoint + "' left out\n"))
            << run.err;
        EXPECT_TRUE(named.contains(QString::fromStdString(mountPoint))) << mountPoint << run.out;
    }
    EXPECT_FALSE(Contains(RunReport({"-x", "/dev"}).err, "mount point")) << "named only with --verbose";
}

// A comparison reports each range as a run with only that range as --since/--until would: the
// walk keeps both ranges' files and splits them afterwards, in a zone with summer time.
TEST_F(ReportLeavingOut, AComparisonReportsBothRangesAsTwoRangedRunsWould) {
    const std::string zone = "Europe/Berlin";
    const std::vector<std::string> first{"--since", "2024-03-01", "--until", "2024-07-03"};
    const std::vector<std::string> second{"--since", "2023-06-01", "--until", "2024-03-01"};
    std::vector<std::string> compare = first;
    compare.insert(compare.end(), {"--compare-since", "2023-06-01", "--compare-until", "2024-03-01"});

    const std::vector<std::string> csv = Lines(Run(compare, {"--format", "csv"}, zone).out);
    const std::vector<std::string> firstCsv = Lines(Run(first, {"--format", "csv"}, zone).out);
    const std::vector<std::string> secondCsv = Lines(Run(second, {"--format", "csv"}, zone).out);
    ASSERT_EQ(csv.size(), firstCsv.size());
    ASSERT_EQ(csv.size(), secondCsv.size());
    EXPECT_EQ(csv[0], firstCsv[0] + ",compared_count");
    for (std::size_t row = 1; row < csv.size(); ++row) {
        const std::string& secondRow = secondCsv[row];
        const std::size_t count = secondRow.find(',', secondRow.find('"', secondRow.find('"') + 1));
        ASSERT_EQ(csv[row], firstCsv[row] + "," +
                                secondRow.substr(count + 1, secondRow.find(',', count + 1) - count - 1))
            << "row " << row;
    }

    const std::vector<std::string> summary = Lines(Run(compare, {}, zone).out);
    const std::vector<std::string> firstSummary = Lines(Run(first, {}, zone).out);
    const std::vector<std::string> secondSummary = Lines(Run(second, {}, zone).out);
    ASSERT_EQ(summary.size(), firstSummary.size() + 5);
    EXPECT_TRUE(std::equal(firstSummary.begin(), firstSummary.begin() + 6, summary.begin()))
        << "the title, the files left out and the four views of the first range";
    EXPECT_EQ(summary[6], "compared with 2023-06-01 to 2024-02-29: 1 file");
    for (std::size_t view = 0; view < 4; ++view)
        EXPECT_EQ(summary[7 + view], "  " + secondSummary[2 + view]);
    EXPECT_TRUE(std::equal(firstSummary.begin() + 6, firstSummary.end(), summary.begin() + 11))
        << "its bursts";
    EXPECT_TRUE(
        Contains(Run(compare, {"--format", "json"}, zone).out,
                 "\"compared\": {\"range\": \"2023-06-01 to 2024-02-29\", \"files\": 1, \"counted\": 1"));

    // The picture draws the second curve; a range with nothing written draws none.
    const std::string png = m_tree.Path("graph.png");
    ASSERT_EQ(Run(compare, {"--png", png}, zone).exitCode, 0);
    EXPECT_GT(PixelsOf(png, kComparedCurve), 20);
    EXPECT_GT(PixelsOf(png, kCurve), 20);
    ASSERT_EQ(
        Run(first, {"--compare-since", "2020-01-01", "--compare-until", "2020-02-01", "--png", png}, zone)
            .exitCode,
        0);
    EXPECT_EQ(PixelsOf(png, kComparedCurve), 0);

    // Refused as the leave-out range is, with its messages and status 2.
    const auto refusal = [&](const std::vector<std::string>& arguments) {
        const RunResult result = Run(arguments, {}, zone);
        EXPECT_EQ(result.exitCode, 2);
        return result.err;
    };
    for (const char* until : {"2024-02-01", "2024-03-01", "March"})
        EXPECT_EQ(refusal({"--compare-since", "2024-03-01", "--compare-until", until}),
                  refusal({"--since", "2024-03-01", "--until", until}))
            << until;
    refusal({"--compare-since", "2024-03-01"});
}

} // namespace
