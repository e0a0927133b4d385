#include "test_tree.h"
#include "without_permission_override.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
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

// Runs the built busyscope-report with the given arguments and time zone, capturing both outputs;
// through a wrapper command (found on PATH) when one is given.
RunResult RunReport(const std::vector<std::string>& arguments, const std::string& zone = "UTC",
                    const std::vector<std::string>& wrapper = {}) {
    CTestTree outputs;
    const std::string outPath = outputs.Path("out");
    const std::string errPath = outputs.Path("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argumentStore = wrapper;
    argumentStore.push_back(BUSYSCOPE_REPORT_EXE);
    argumentStore.insert(argumentStore.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentStore)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string tz = "TZ=" + zone;
    // Under a tracer a sanitized build's leak check cannot stop the process's threads.
    std::string sanitizer = wrapper.empty() ? "" : "ASAN_OPTIONS=detect_leaks=0";
    char* envp[] = {tz.data(), sanitizer.empty() ? nullptr : sanitizer.data(), nullptr};
    pid_t child = -1;
    RunResult result;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp) == 0) {
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
    EXPECT_EQ(document.object().value("views").toArray().size(), 4);

    const RunResult csv = RunReport({"--format", "csv", folder});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    const std::regex row(R"((day|week|month|year),\d+,"[^"\n]*",\d+)");
    const std::vector<std::string> rows = Lines(csv.out);
    ASSERT_EQ(rows.size(), 1u + 1440 + 1680 + 1488 + 1460);
    for (std::size_t i = 1; i < rows.size(); ++i)
        ASSERT_TRUE(std::regex_match(rows[i], row)) << rows[i];

    const RunResult summary = RunReport({folder});
    ASSERT_EQ(summary.exitCode, 0) << summary.err;
    EXPECT_EQ(Lines(summary.out).size(), 5u) << summary.out;
}

TEST_F(ReportCommand, UnreadableSubfoldersAreReportedOnStderr) {
    m_tree.AddFile("closed/f", 5);
    m_tree.SetMode("closed", 0);
    RunWithoutPermissionOverride([&] {
        const RunResult run = RunReport({"--format", "times", m_tree.Root()});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(Lines(run.out).size(), 4u);
        EXPECT_TRUE(Contains(run.err, "1 folder(s)")) << run.err;
    });
}

} // namespace

namespace {

// Every line of text is a whole number: the times format.
bool AllWholeNumbers(const std::string& text) {
    for (const std::string& line : Lines(text))
        if (line.empty() || line.find_first_not_of("-0123456789") != std::string::npos)
            return false;
    return true;
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
        const RunResult run = RunReport({"--format", "times", root}, "UTC",
                                        {"timeout", "-s", "KILL", "120", "strace", "-f", "-qq", "-o", log,
                                         "-e", "trace=open,openat,openat2"});
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
    const RunResult fifo = RunReport({tree.Path("sub/fifo")}, "UTC", {"timeout", "-s", "KILL", "60"});
    EXPECT_EQ(fifo.exitCode, 1);
    EXPECT_TRUE(Contains(fifo.err, "Not a directory")) << fifo.err;
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
