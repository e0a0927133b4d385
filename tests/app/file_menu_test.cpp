// The File menu beside the described New-folder command: shortcuts, Analyze Again, Recent
// Folders remembered between runs, and Save Picture, which saves what busyscope-report --png does.
#include "app_fixture.h"
#include "averaging_bar.h"
#include "command_ids.h"
#include "graph_panel.h"
#include "recent_sources.h"
#include "stamp_store.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

namespace {

constexpr std::int64_t kMonday1430 = 1719844200;

using FileMenuTest = OpenWindowTest;

// The items of File > Recent as the menu shows them when it opens.
QStringList RecentItems(CMainFrame& frame) {
    QStringList texts;
    for (QAction* item : frame.RecentActions())
        texts << item->text();
    return texts;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs busyscope-report with the arguments and its output into a file; its exit status.
int RunReport(std::vector<std::string> arguments) {
    std::string program = BUSYSCOPE_REPORT_EXE;
    std::vector<char*> argv{program.data()};
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string zone = "TZ=UTC";
    char* envp[] = {zone.data(), nullptr};
    pid_t child = -1;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), envp) != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST_F(FileMenuTest, TheUsualShortcutsReachTheirCommands) {
    const std::pair<int, QKeySequence> keys[] = {
        {ID_FILE_NEWFOLDER, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {ID_FILE_ANALYZEAGAIN, QKeySequence(Qt::Key_F5)},
        {ID_FILE_SAVEPICTURE, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {ID_APP_EXIT, QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const auto& [id, key] : keys)
        EXPECT_EQ(m_frame->CommandAction(id)->shortcut(), key) << id;
    EXPECT_FALSE(m_frame->CommandAction(ID_FILE_ANALYZEAGAIN)->isEnabled()) << "nothing analysed yet";
}

TEST_F(FileMenuTest, RecentFoldersReadTheFoldersAnalysedBefore) {
    EXPECT_EQ(RecentItems(*m_frame), QStringList());
    CTestTree first;
    first.AddFile("a", kMonday1430);
    CTestTree second;
    second.AddFile("b&c/d", kMonday1430);
    Analyse(first.Root());
    Analyse(second.Root());
    Analyse(first.Root() + "/missing"); // not readable: not remembered
    const QString firstName = QString::fromStdString(first.Root());
    const QString secondName = QString::fromStdString(second.Root());
    EXPECT_EQ(RecentItems(*m_frame), (QStringList{QString(secondName).replace("&", "&&"), firstName}));

    // A recent item analyses its folder.
    second.AddFile("f&g", kMonday1430);
    const QList<QAction*> items = m_frame->RecentActions();
    const auto item = std::ranges::find(items, QString(secondName).replace("&", "&&"), &QAction::text);
    ASSERT_NE(item, items.end());
    (*item)->trigger();
    EXPECT_EQ(theStampStore.GetFolder(), second.Root());
    EXPECT_EQ(theStampStore.m_nFiles, 2);

    // Remembered in the settings, newest first, for the next run.
    EXPECT_EQ(
        LoadRecentSources(QSettings()),
        (std::vector<AnalysisSource>{FolderSource{{second.Root()}, {}}, FolderSource{{first.Root()}, {}}}));
}

TEST(RecentSources, NewestFirstNoRepeatsAtMostEightEveryByteKeptAndBadValuesReadAsNone) {
    std::vector<AnalysisSource> sources;
    for (int i = 0; i < 10; ++i)
        sources = WithRecentSource(sources, FolderSource{{std::to_string(i)}, {}});
    ASSERT_EQ(sources.size(), 8u);
    EXPECT_EQ(sources.front(), (AnalysisSource{FolderSource{{"9"}, {}}}));
    EntryFilter rules;
    rules.excludedNames = {"*.o"};
    sources = WithRecentSource(sources, FolderSource{{"5"}, rules});
    EXPECT_EQ(sources.front(), (AnalysisSource{FolderSource{{"5"}, {}}})) << "remembered without its rules";
    EXPECT_EQ(sources.size(), 8u);

    // Each kind reads back as what it was, odd bytes and all.
    const AnalysisSource kinds[] = {
        FolderSource{{"/a b", "/c%20\xff\n"}, {}},
        GitSource{"/repo", {true, {"Ann Lee", "bo,b"}}},
        GitSource{"/repo", {}},
        TimeListSource{{"-", "/t/x.times"}, RecordEnd::Detect},
    };
    for (const AnalysisSource& source : kinds)
        EXPECT_EQ(DecodeRecentSource(EncodeRecentSource(source)), source)
            << EncodeRecentSource(source).toStdString();

    QTemporaryDir dir;
    QSettings settings(dir.filePath("test.conf"), QSettings::IniFormat);
    SaveRecentSources(settings, {std::begin(kinds), std::end(kinds)});
    EXPECT_EQ(LoadRecentSources(settings), (std::vector<AnalysisSource>{std::begin(kinds), std::end(kinds)}));

    // Earlier versions' folders read as folder sources; anything odd reads as no list at all.
    settings.clear();
    settings.setValue("recentFolders", QStringList{"/a", "/b", "/a"});
    EXPECT_EQ(LoadRecentSources(settings),
              (std::vector<AnalysisSource>{FolderSource{{"/a"}, {}}, FolderSource{{"/b"}, {}}}));
    for (const QVariant& bad : {QVariant(42), QVariant(QStringList{"folders /a", "nonsense x"}),
                                QVariant(QStringList{"folders"}), QVariant(QStringList{"lists %00"})}) {
        settings.setValue("recentSources", bad);
        EXPECT_TRUE(LoadRecentSources(settings).empty()) << bad.toStringList().join('|').toStdString();
    }
}

// The saved picture is byte for byte what the report command writes for the same view, size,
// averaging, rotation and scale.
TEST_F(FileMenuTest, SavePictureWritesExactlyWhatPngWould) {
    CTestTree tree;
    for (int i = 0; i < 200; ++i)
        tree.AddFile("f" + std::to_string(i), kMonday1430 + 3607 * i);
    Analyse(tree.Root());
    m_frame->CommandAction(ID_VIEW_WEEK)->trigger();
    m_frame->m_wndAvgBar->m_slider.setValue(12);
    m_frame->m_wndPanel->m_plot.m_xOffset = 300.0;
    m_frame->m_wndPanel->m_plot.m_yScale = 3.25;
    m_frame->resize(720, 520);
    QCoreApplication::processEvents();
    const QSize size = m_frame->m_wndPanel->size();

    QTemporaryDir pictures;
    const QString saved = pictures.filePath("saved.png");
    QStringList suggested;
    m_frame->m_dialogs.choosePictureFile = [&](QWidget*, const QString& name) {
        suggested << name;
        return saved;
    };
    m_frame->CommandAction(ID_FILE_SAVEPICTURE)->trigger();
    EXPECT_EQ(suggested, QStringList{"busyscope.png"});
    EXPECT_EQ(m_frame->MessageText(), "Picture saved to " + saved + ".");

    const std::string expected = pictures.filePath("report.png").toStdString();
    ASSERT_EQ(RunReport({"--png", expected, "--view", "week", "--average", "12", "--offset", "300", "--scale",
                         "3.25", "--width", std::to_string(size.width()), "--height",
                         std::to_string(size.height()), tree.Root()}),
              0);
    const QByteArray savedBytes = ReadAll(saved);
    EXPECT_FALSE(savedBytes.isEmpty());
    EXPECT_TRUE(savedBytes == ReadAll(QString::fromStdString(expected)));

    // With a date range chosen and compared, the picture is still the graph as the window shows it.
    m_frame->SetDateRange(DateRange{kMonday1430, kMonday1430 + 3607 * 120});
    m_frame->m_dialogs.askDateRange = [](QWidget*, const QString&, const QString&, const DateRange& offered) {
        return std::optional<DateRange>(offered);
    };
    m_frame->CommandAction(ID_VIEW_COMPARE)->trigger();
    ASSERT_TRUE(m_frame->m_wndPanel->m_plot.ComparedRange());
    m_frame->CommandAction(ID_FILE_SAVEPICTURE)->trigger();
    EXPECT_EQ(QImage(saved).convertToFormat(QImage::Format_RGB32),
              m_frame->m_wndPanel->grab().toImage().convertToFormat(QImage::Format_RGB32));

    // A picture that cannot be written says why in the status bar.
    m_frame->m_dialogs.choosePictureFile = [&](QWidget*, const QString&) {
        return pictures.filePath("no/such/folder.png");
    };
    m_frame->CommandAction(ID_FILE_SAVEPICTURE)->trigger();
    EXPECT_TRUE(m_frame->MessageText().startsWith("cannot write '")) << m_frame->MessageText().toStdString();
    EXPECT_TRUE(m_frame->MessageText().endsWith("No such file or directory"))
        << m_frame->MessageText().toStdString();
}
