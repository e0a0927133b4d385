#include "app_fixture.h"
#include "command_ids.h"
#include "git_history_dialog.h"
#include "files_window.h"
#include "graph_panel.h"
#include "stamp_store.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QSettings>
#include <QTreeView>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class TimeSourcesTest : public OpenWindowTest {
protected:
    void SetUp() override {
        OpenWindowTest::SetUp();
        m_frame->m_dialogs.chooseOpenFile = [this](QWidget*, const QString& caption) {
            m_captions << caption;
            return m_openAnswer;
        };
        m_frame->m_dialogs.chooseSaveFile = [this](QWidget*, const QString& caption) {
            m_captions << caption;
            return m_saveAnswer;
        };
        m_frame->m_dialogs.askGitHistory = [this](QWidget*, const QString& repository) {
            m_askedAbout = repository;
            return m_gitOptions;
        };
    }
    // Runs git in the repository with the author and author date given; whether it worked.
    bool Git(const QString& repository, const QString& author, const QString& when, const QStringList& arguments,
             QString* output = nullptr) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", repository);
        environment.insert("GIT_COMMITTER_NAME", "Ada");
        environment.insert("GIT_COMMITTER_EMAIL", "ada@example.org");
        environment.insert("GIT_AUTHOR_NAME", author);
        environment.insert("GIT_AUTHOR_EMAIL", author.toLower() + "@example.org");
        environment.insert("GIT_AUTHOR_DATE", when);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start("git", QStringList{"-C", repository} + arguments);
        const bool done = process.waitForFinished() && process.exitCode() == 0;
        if (output)
            *output = QString::fromUtf8(process.readAllStandardOutput());
        return done;
    }
    QString Title() const { return m_frame->m_wndPanel->m_plot.TitleText(); }
    int DayCount(int bin) const { return m_frame->m_wndPanel->m_plot.Histograms().m_dayBins[bin]; }

    CTestTree m_files;
    QString m_openAnswer, m_saveAnswer, m_askedAbout;
    std::optional<GitHistoryOptions> m_gitOptions = GitHistoryOptions();
    QStringList m_captions;
};

// A list opened in the window is what the graph shows; saved again it is the same list; a bad
// list says where it is bad and leaves the graph empty.
TEST_F(TimeSourcesTest, TimeListsOpenSaveAndNameTheirBadLine) {
    const std::string list = m_files.Path("week.times");
    std::ofstream(list) << "1719844200\n1719844260.5 ./a/b\n-1\n"; // Monday 14:30 and 14:31 UTC
    m_openAnswer = QString::fromStdString(list);
    m_frame->CommandAction(ID_FILE_OPENTIMELIST)->trigger();
    EXPECT_EQ(Title(), QString::fromStdString("3 files in " + list));
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("For Help, press F1")) << "no progress left behind";
    EXPECT_EQ(DayCount(870), 1);
    EXPECT_EQ(DayCount(871), 1);

    m_saveAnswer = QString::fromStdString(m_files.Path("saved.times"));
    m_frame->CommandAction(ID_FILE_SAVETIMELIST)->trigger();
    EXPECT_EQ(ReadWhole(m_files.Path("saved.times")), "1719844200\n1719844260\n-1\n");
    EXPECT_EQ(m_captions, (QStringList{"Open Time List", "Save Time List"}));

    m_saveAnswer = QString::fromStdString(m_files.Path("no-such-folder/saved.times"));
    m_frame->CommandAction(ID_FILE_SAVETIMELIST)->trigger();
    EXPECT_EQ(m_frame->MessageText(),
              QString::fromStdString("Cannot write '" + m_files.Path("no-such-folder/saved.times") +
                                     "': No such file or directory."));

    std::ofstream(list) << "1719844200\nnoon\n";
    m_frame->CommandAction(ID_FILE_OPENTIMELIST)->trigger();
    EXPECT_EQ(m_frame->MessageText(), QString::fromStdString(list + ":2: not a time: 'noon'."));
    EXPECT_EQ(theStampStore.m_nFiles, 0);

    m_openAnswer.clear(); // cancelled: nothing changes
    m_frame->CommandAction(ID_FILE_OPENTIMELIST)->trigger();
    EXPECT_EQ(m_frame->MessageText(), QString::fromStdString(list + ":2: not a time: 'noon'."));
}

// A list that does not end (a pipe fed until the reader goes, or for long enough) shows how many
// times are read and stops at Escape, long before the feeder is done.
TEST_F(TimeSourcesTest, ReadingAListShowsProgressAndStopsAtEscape) {
    const std::string fifo = m_files.Path("endless");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string lines;
    for (int i = 0; i < 1000; ++i)
        lines += "1719844200\n";
    int chunks = 0;
    std::thread feeder([&] {
        const int out = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
        while (chunks < 20000 && ::write(out, lines.data(), lines.size()) > 0)
            ++chunks;
        ::close(out);
    });
    const auto previous = std::signal(SIGPIPE, SIG_IGN); // the feeder writes on after the reader has gone
    bool counting = false;
    QTimer::singleShot(0, [&] {
        const QRegularExpression counted(
            QStringLiteral("^Reading: [1-9][0-9,]* times\\.\\.\\. Press Esc to stop\\.$"));
        counting = ProcessEventsUntil([&] { return counted.match(m_frame->MessageText()).hasMatch(); });
        QTest::keyClick(m_frame->m_wndPanel, Qt::Key_Escape);
    });
    m_openAnswer = QString::fromStdString(fifo);
    m_frame->CommandAction(ID_FILE_OPENTIMELIST)->trigger();
    feeder.join();
    std::signal(SIGPIPE, previous);
    EXPECT_TRUE(counting);
    EXPECT_LT(chunks, 20000) << "the reading stopped before the list ended";
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("Analysis stopped."));
    EXPECT_EQ(theStampStore.m_nFiles, 0);
}

// The history of a repository made by git: the dialog lists its authors, most commits first, and
// gives the ticked ones; the title says commits and names the authors kept; a shallow clone's
// notice shows in the status bar; a folder that is no repository says so.
TEST_F(TimeSourcesTest, GitHistoryAsksForTheRepositoryAndTheAuthors) {
    const QString repository = QString::fromStdString(m_files.Root());
    const auto git = [&](const QString& author, const QString& when, const QStringList& arguments) {
        return Git(repository, author, when, arguments);
    };
    ASSERT_TRUE(git("Ada", "", {"init", "-q", "-b", "main"}));
    ASSERT_TRUE(git("Ada", "2024-07-01T10:00:00+09:00", {"commit", "-q", "--allow-empty", "-m", "one"}));
    ASSERT_TRUE(git("Bob", "2024-07-01T11:00:00-05:00", {"commit", "-q", "--allow-empty", "-m", "two"}));
    ASSERT_TRUE(git("Bob", "2024-07-02T11:00:00-05:00", {"commit", "-q", "--allow-empty", "-m", "three"}));
    ASSERT_TRUE(git("Cy", "", {"checkout", "-q", "--orphan", "side"}));
    ASSERT_TRUE(git("Cy", "2024-07-03T09:00:00+00:00", {"commit", "-q", "--allow-empty", "-m", "side"}));
    ASSERT_TRUE(git("Cy", "", {"checkout", "-q", "main"}));

    CGitHistoryDialog dialog(m_files.Root());
    const auto rows = [&] {
        QStringList texts;
        for (int row = 0; row < dialog.m_authors->count(); ++row)
            texts << dialog.m_authors->item(row)->text();
        return texts;
    };
    EXPECT_EQ(rows(), (QStringList{"Bob <bob@example.org> (2 commits)", "Ada <ada@example.org> (1 commit)"}));
    dialog.m_authors->item(1)->setCheckState(Qt::Checked);
    dialog.m_allRefs->setChecked(true);
    EXPECT_EQ(rows(), (QStringList{"Bob <bob@example.org> (2 commits)", "Ada <ada@example.org> (1 commit)",
                                   "Cy <cy@example.org> (1 commit)"}));
    EXPECT_EQ(dialog.m_authors->item(1)->checkState(), Qt::Checked) << "a tick stays when the list is read again";
    dialog.m_authors->item(2)->setCheckState(Qt::Checked);
    EXPECT_EQ(dialog.Options().authors, (std::vector<std::string>{"Ada <ada@example.org>", "Cy <cy@example.org>"}));
    EXPECT_TRUE(dialog.Options().allRefs);
    EXPECT_TRUE(dialog.m_problem->isHidden());
    for (const QWidget* widget : {static_cast<const QWidget*>(&dialog), static_cast<const QWidget*>(dialog.m_authors),
                                  static_cast<const QWidget*>(dialog.m_allRefs)})
        EXPECT_FALSE(widget->accessibleName().isEmpty());

    m_chooserAnswer = repository;
    m_gitOptions = dialog.Options();
    m_frame->CommandAction(ID_FILE_GITHISTORY)->trigger();
    EXPECT_EQ(m_chooserPrompts.back(), "Select Repository to Analyze:");
    EXPECT_EQ(m_askedAbout, repository);
    EXPECT_EQ(Title(), "2 commits in " + repository + " by Ada <ada@example.org>, Cy <cy@example.org>");
    EXPECT_EQ(DayCount(600), 1);

    m_gitOptions = GitHistoryOptions();
    m_frame->CommandAction(ID_FILE_GITHISTORY)->trigger();
    EXPECT_EQ(Title(), "3 commits in " + repository);
    EXPECT_EQ(DayCount(660), 2);

    m_gitOptions.reset(); // cancelled: nothing changes
    m_frame->CommandAction(ID_FILE_GITHISTORY)->trigger();
    EXPECT_EQ(Title(), "3 commits in " + repository);

    m_gitOptions = GitHistoryOptions();
    ASSERT_TRUE(git("Ada", "", {"clone", "-q", "--depth", "1", "file://" + repository, "shallow"}));
    m_chooserAnswer = QString::fromStdString(m_files.Path("shallow"));
    m_frame->CommandAction(ID_FILE_GITHISTORY)->trigger();
    EXPECT_EQ(Title(), "1 commits in " + m_chooserAnswer);
    EXPECT_TRUE(m_frame->MessageText().startsWith("'" + m_chooserAnswer +
                                                  "' is a shallow clone: its history is cut short at 1 commit, "))
        << m_frame->MessageText().toStdString();

    m_files.AddFolder("inside");
    m_chooserAnswer = QString::fromStdString(m_files.Path("inside"));
    m_frame->CommandAction(ID_FILE_GITHISTORY)->trigger();
    EXPECT_EQ(m_frame->MessageText(), "'" + m_chooserAnswer +
                                          "' is not a git repository (give the top folder of its working tree).");
    EXPECT_EQ(theStampStore.m_nFiles, 0);
}

// Each kind of source, opened in the window: Analyze Again reads it afresh, File > Recent reopens it as
// what it was, and the Files window lists it in its own words with a clipboard that keeps
// every byte (for a list, the paths exactly as it gave them).
TEST_F(TimeSourcesTest, EveryKindIsAnalysedAgainRememberedAndListedInItsOwnWords) {
    QSettings().remove("recentSources");
    const auto analyseAgain = [this] { m_frame->CommandAction(ID_FILE_ANALYZEAGAIN)->trigger(); };
    const auto filesAt1430 = [this] {
        m_frame->ShowFiles(14 * 60 + 30);
        return m_frame->FilesWindow();
    };

    // A folder.
    CTestTree folder;
    folder.AddFile("a/one", 1719844200);
    Analyse(folder.Root());
    folder.AddFile("a/two", 1719844260);
    analyseAgain();
    EXPECT_EQ(Title(), QString::fromStdString("2 files in " + folder.Root()));

    // A history: one row a commit with its full id, copied as ids.
    const QString repository = QString::fromStdString(m_files.Path("repo"));
    m_files.AddFolder("repo");
    ASSERT_TRUE(Git(repository, "Ada", "", {"init", "-q"}));
    ASSERT_TRUE(Git(repository, "Ada", "2024-07-01T14:30:00+09:00", {"commit", "-q", "--allow-empty", "-m", "one"}));
    m_chooserAnswer = repository;
    m_frame->CommandAction(ID_FILE_GITHISTORY)->trigger();
    ASSERT_TRUE(Git(repository, "Bob", "2024-07-01T14:31:00-05:00", {"commit", "-q", "--allow-empty", "-m", "two"}));
    analyseAgain();
    EXPECT_EQ(Title(), "2 commits in " + repository);
    QString ids;
    ASSERT_TRUE(Git(repository, "Ada", "", {"log", "--format=%H"}, &ids));
    CFilesWindow* window = filesAt1430();
    ASSERT_EQ(window->Commits().rowCount(), 2);
    QStringList listed;
    for (int row = 0; row < 2; ++row)
        listed << window->Commits().index(row, CCommitsModel::IdColumn).data().toString();
    EXPECT_EQ(listed, ids.trimmed().split('\n'));
    EXPECT_EQ(window->Commits().index(0, CCommitsModel::AuthorColumn).data().toString(), "Bob <bob@example.org>");
    EXPECT_EQ(window->Commits().index(0, CCommitsModel::WrittenColumn).data().toString(), "2024-07-01 14:31:00");
    EXPECT_TRUE(window->HeaderText().endsWith(": 2 commits")) << window->HeaderText().toStdString();
    window->Tree().selectAll();
    window->CopySelection();
    EXPECT_EQ(QApplication::clipboard()->text(), ids.trimmed());
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text().contains("Folder")) {
            EXPECT_FALSE(action->isVisible()) << action->text().toStdString();
        }

    // A list: absolute paths stay absolute, and a name that is not UTF-8 keeps its bytes.
    const std::string odd = m_files.Path("bad\xffname.txt");
    const std::string list = m_files.Path("week.times");
    std::ofstream(list) << "1719844200 " << odd << "\n";
    m_openAnswer = QString::fromStdString(list);
    m_frame->CommandAction(ID_FILE_OPENTIMELIST)->trigger();
    std::ofstream(list, std::ios::app) << "1719844260 " << folder.Path("a/one") << "\n";
    analyseAgain();
    EXPECT_EQ(Title(), QString::fromStdString("2 files in " + list)) << m_frame->MessageText().toStdString();
    window = filesAt1430();
    window->Tree().expandAll();
    window->Tree().selectAll();
    window->CopySelection();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    QStringList uris;
    for (const QUrl& url : copied->urls())
        uris << QString::fromLatin1(url.toEncoded());
    EXPECT_TRUE(uris.contains(QString::fromLatin1("file://" + QByteArray::fromStdString(odd).toPercentEncoding("/"))))
        << uris.join(' ').toStdString();
    EXPECT_TRUE(copied->text().contains(QString::fromStdString(m_files.Path("bad\\xffname.txt"))))
        << copied->text().toStdString();

    // Recent holds all three, newest first, each reopened as what it was.
    const QStringList expected{QString::fromStdString("Time list " + list), "Git history of " + repository,
                               QString::fromStdString(folder.Root())};
    QStringList recent;
    for (QAction* item : m_frame->RecentActions())
        recent << item->text();
    EXPECT_EQ(recent, expected);
    m_frame->RecentActions().at(1)->trigger();
    EXPECT_EQ(Title(), "2 commits in " + repository);
    m_frame->RecentActions().at(2)->trigger();
    EXPECT_EQ(Title(), QString::fromStdString("2 files in " + folder.Root()));

    // A list without paths lists its times under a row of their own.
    std::ofstream(list) << "1719844200\n";
    m_frame->CommandAction(ID_FILE_OPENTIMELIST)->trigger();
    window = filesAt1430();
    EXPECT_EQ(window->Model().index(0, CFilesModel::NameColumn).data().toString(), "(times without a path)");
    EXPECT_EQ(window->Model().rowCount(window->Model().index(0, 0)), 1);
}

} // namespace
