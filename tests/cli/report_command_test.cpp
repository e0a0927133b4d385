#include "test_tree.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
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

// Runs the built busyscope-report with the given arguments and time zone, capturing both outputs.
RunResult RunReport(const std::vector<std::string>& arguments, const std::string& zone = "UTC") {
    CTestTree outputs;
    const std::string outPath = outputs.Path("out");
    const std::string errPath = outputs.Path("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argumentStore{BUSYSCOPE_REPORT_EXE};
    argumentStore.insert(argumentStore.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentStore)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string tz = "TZ=" + zone;
    char* envp[] = {tz.data(), nullptr};
    pid_t child = -1;
    RunResult result;
    if (posix_spawn(&child, BUSYSCOPE_REPORT_EXE, &actions, nullptr, argv.data(), envp) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
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
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u) << run.out;
    EXPECT_EQ(lines[0], "4 files in " + m_tree.Root());
    EXPECT_EQ(lines[1], "day: busiest 02:30 PM, 2 files");
    EXPECT_EQ(lines[2], "week: busiest Monday 02:30 PM, 2 files");
}

TEST_F(ReportCommand, LocalTimeFollowsTz) {
    const RunResult run = RunReport({"--view", "day", m_tree.Root()}, "Asia/Kathmandu");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out).at(1), "day: busiest 08:15 PM, 2 files");
}

TEST_F(ReportCommand, CsvHasOneQuotedRowPerBinOfEachView) {
    RunResult run = RunReport({"--format", "csv", m_tree.Root()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u + 1440 + 1680 + 1488 + 1460);
    EXPECT_EQ(lines[0], "view,bin,time,count");
    EXPECT_EQ(lines[1], "day,0,\"12:00 AM\",1") << "the link's time, 2040-01-01 00:00, a Sunday";
    EXPECT_EQ(lines[1 + 870], "day,870,\"02:30 PM\",2");
    EXPECT_EQ(lines[1 + 1440], "week,0,\"Sunday 12:00 AM\",1");
    EXPECT_EQ(lines.back(), "year,1459,\"31 December, 06:00 PM\",1");
    std::int64_t monthTotal = 0;
    for (const std::string& line : lines)
        if (line.rfind("month,", 0) == 0)
            monthTotal += std::stoll(line.substr(line.rfind(',') + 1));
    EXPECT_EQ(monthTotal, 4);

    run = RunReport({"--format", "csv", "--view", "month", m_tree.Root()});
    lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u + 1488);
    EXPECT_EQ(lines[1 + 1487], "month,1487,\"Day 31, 11:30 PM\",1");
}

TEST_F(ReportCommand, JsonEscapesTheFolderAndHoldsTheBins) {
    const std::string odd = "we\"ird\nname\xff";
    m_tree.AddFile(odd + "/f", 0);
    const RunResult run = RunReport({"--format", "json", "--view", "week", m_tree.Path(odd)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "\"folder\": \"" + m_tree.Root() + "/we\\\"ird\\nname\\ufffd\""))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "\"files\": 1,"));
    EXPECT_TRUE(Contains(run.out, "{\"bin\": 0, \"time\": \"Sunday 12:00 AM\", \"count\": 0}"));
    EXPECT_TRUE(Contains(run.out, "{\"bin\": 1679, \"time\": \"Saturday 11:54 PM\", \"count\": 0}"));
    EXPECT_FALSE(Contains(run.out, "\"view\": \"day\""));
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '{'),
              std::count(run.out.begin(), run.out.end(), '}'));
}

TEST_F(ReportCommand, OddFolderNamesStayOnTheTitleLine) {
    const std::string odd = "two\nlines";
    m_tree.AddFile(odd + "/f", 0);
    const RunResult run = RunReport({"--view", "day", m_tree.Path(odd)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out).at(0), "1 files in " + m_tree.Root() + "/two\\x0alines");
}

TEST_F(ReportCommand, AFolderThatCannotBeReadIsAOneLineError) {
    for (const auto& [path, reason] : {std::pair{m_tree.Path("missing"), "No such file or directory"},
                                       std::pair{m_tree.Path("a"), "Not a directory"}}) {
        const RunResult run = RunReport({path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_TRUE(Contains(run.err, path)) << run.err;
        EXPECT_TRUE(Contains(run.err, reason)) << run.err;
    }
}

TEST_F(ReportCommand, BadCommandLinesAreOneLineErrors) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"--view", "hour", "x"}, {"--format"}, {"--bogus", "x"}}) {
        const RunResult run = RunReport(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    }
}

TEST_F(ReportCommand, HelpDescribesTheCommand) {
    const RunResult run = RunReport({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(Contains(run.out, "--format summary|csv|json|times"));
    EXPECT_TRUE(Contains(run.out, "--view day|week|month|year"));
}

TEST_F(ReportCommand, AnyNumberOfThreadsGivesTheSameReport) {
    for (int i = 0; i < 50; ++i)
        m_tree.AddFile("many/d" + std::to_string(i % 7) + "/f" + std::to_string(i), kMonday1430 + i * 3600);
    const RunResult one = RunReport({"--format", "times", "--jobs", "1", m_tree.Root()});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(Lines(one.out).size(), 54u);
    for (const char* jobs : {"2", "9"}) {
        const RunResult run = RunReport({"--format", "times", "--jobs", jobs, m_tree.Root()});
        EXPECT_EQ(run.out, one.out) << jobs << " threads";
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(ReportCommand, UnreadableSubfoldersAreReportedOnStderr) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    m_tree.AddFile("closed/f", 5);
    m_tree.SetMode("closed", 0);
    const RunResult run = RunReport({"--format", "times", m_tree.Root()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Lines(run.out).size(), 4u);
    EXPECT_TRUE(Contains(run.err, "1 folder(s)")) << run.err;
}

} // namespace

namespace {

// A walk long enough to be watched and stopped: a chain of folders read by one thread.
TEST(ReportCommandOnATerminal, ShowsProgressInPlaceAndStopsCleanlyOnCtrlC) {
    CTestTree tree;
    tree.AddChain("chain", 10000, "level", kMonday1430);
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

TEST(ReportCommandPicture, PngIsTheGraphAtTheAskedSize) {
    CTestTree tree;
    for (int i = 0; i < 300; ++i)
        tree.AddFile("f" + std::to_string(i), kMonday1430 + 97 * i);
    const std::string png = tree.Path("graph.png");
    const RunResult run =
        RunReport({"--png", png, "--width", "640", "--height", "360", "--average", "5", tree.Root()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");

    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(640, 360));
    int curvePixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            curvePixels += image.pixel(x, y) == qRgb(85, 85, 255);
    EXPECT_GT(curvePixels, 200);
}

TEST(ReportCommandPicture, UnwritablePictureIsAOneLineError) {
    CTestTree tree;
    tree.AddFile("a", kMonday1430);
    const RunResult run = RunReport({"--png", tree.Path("no/such/folder/g.png"), tree.Root()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "busyscope-report: cannot write")) << run.err;
}

} // namespace
