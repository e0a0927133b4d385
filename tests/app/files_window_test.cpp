// The Files window and the list of unreadable folders, driven through the main window.
#include "app_fixture.h"
#include "cursor_readout.h"
#include "files_window.h"
#include "graph_panel.h"
#include "memory_directory_source.h"
#include "stamp_store.h"
#include "unreadable_folders_window.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <cerrno>

namespace {

using FilesWindowTest = OpenWindowTest;

// Every file the window lists as "local-time<TAB>path below the analysed folder", sorted.
QStringList ListedFiles(CFilesModel& model) {
    QStringList lines;
    for (int folder = 0; folder < model.rowCount(); ++folder) {
        const QModelIndex parent = model.index(folder, 0);
        for (int file = 0; file < model.rowCount(parent); ++file) {
            const QString relative = model.RelativeFolder(parent);
            const QString name = model.index(file, CFilesModel::NameColumn, parent).data().toString();
            lines << model.index(file, CFilesModel::WrittenColumn, parent).data().toString() + '\t' +
                         (relative.isEmpty() ? name : relative + '/' + name);
        }
    }
    lines.sort();
    return lines;
}

// What busyscope-report --files-at prints for the same point, sorted.
QStringList ReportedFiles(const std::string& folder, const QString& when) {
    QProcess report;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    report.setProcessEnvironment(environment);
    report.start(QStringLiteral(BUSYSCOPE_REPORT_EXE),
                 {QStringLiteral("--files-at"), when, QString::fromStdString(folder)});
    EXPECT_TRUE(report.waitForFinished(30000));
    EXPECT_EQ(report.exitCode(), 0) << report.readAllStandardError().toStdString();
    QStringList lines = QString::fromUtf8(report.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

// Opens the plot's context menu at x and picks "Show Files..." in it.
void ShowFilesFromContextMenu(CPlotWnd& plot, int x) {
    bool picked = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("Show Files...") && action->isEnabled()) {
                picked = true;
                action->trigger();
            }
        menu->close();
    });
    const QPoint at(x, plot.height() / 2);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, plot.mapToGlobal(at));
    QApplication::sendEvent(&plot, &request);
    EXPECT_TRUE(picked);
}

// On a real tree the window lists, for a double-clicked column and for one chosen from the
// context menu, exactly the files the report's --files-at lists for the same point; wrap round
// midnight included. Single clicks open nothing, and a new analysis refills or closes the window.
TEST_F(FilesWindowTest, ListsTheSameFilesAsTheReportForTheSamePoint) {
    CScopedTimeZone utc("UTC");
    CTestTree tree;
    tree.AddFile("top", LocalTime(2024, 3, 5, 23, 40));
    tree.AddFile("a/early", LocalTime(2024, 3, 6, 0, 30));
    tree.AddFile("a/b/late", LocalTime(2023, 1, 1, 23, 59, 59));
    tree.AddFile("a/b/odd name", LocalTime(2022, 7, 7, 0, 0));
    tree.AddFile("a/outside", LocalTime(2024, 3, 6, 1, 0));
    tree.AddFile("c/afternoon", LocalTime(2024, 3, 6, 14, 31));
    tree.AddFile("c/afternoon2", LocalTime(2024, 3, 6, 14, 2));
    Analyse(tree.Root());
    m_frame->m_wndPanel->resize(900, 500);
    CPlotWnd& plot = m_frame->m_wndPanel->m_plot;
    const QString readout = m_frame->MessageText();

    QTest::mouseClick(&plot, Qt::LeftButton, {}, QPoint(0, 50));
    EXPECT_EQ(m_frame->FilesWindow(), nullptr) << "a single click opens nothing";

    QTest::mouseDClick(&plot, Qt::LeftButton, {}, QPoint(0, 50));
    CFilesWindow* window = m_frame->FilesWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Files"));
    EXPECT_EQ(window->HeaderText(), QString::fromUtf8("12:00 AM \u00b1 50 minutes: 4 files"));
    EXPECT_EQ(ListedFiles(window->Model()), ReportedFiles(tree.Root(), QStringLiteral("00:00")));
    EXPECT_EQ(window->Model().index(0, CFilesModel::NameColumn).data().toString(), QStringLiteral("a/b"))
        << "the fullest folder first";
    EXPECT_EQ(window->Model().index(0, CFilesModel::ShareColumn).data().toString(), QStringLiteral("50.0%"));

    QCoreApplication::processEvents(); // the main window settles after the Files window came up
    int x = 0; // the first column from 02:30 PM on
    while (BinUnderPointer(x, plot.width(), 1440, plot.m_xOffset) < 14 * 60 + 30)
        ++x;
    const int bin = BinUnderPointer(x, plot.width(), 1440, plot.m_xOffset);
    ShowFilesFromContextMenu(plot, x);
    EXPECT_TRUE(window->HeaderText().endsWith(QStringLiteral(" \u00b1 50 minutes: 2 files"))) << window->HeaderText().toStdString();
    EXPECT_EQ(ListedFiles(window->Model()),
              ReportedFiles(tree.Root(), QStringLiteral("%1:%2").arg(bin / 60).arg(bin % 60, 2, 10, QLatin1Char('0'))));

    // Copy the folder row and a file row; open the folder of the file.
    QTreeView& view = window->Tree();
    const QModelIndex folder = window->Model().index(0, 0);
    const QModelIndex file = window->Model().index(1, 0, folder);
    view.expand(folder);
    const QString written = window->Model().index(1, CFilesModel::WrittenColumn, folder).data().toString();
    EXPECT_GE(view.header()->sectionSize(CFilesModel::WrittenColumn), view.fontMetrics().horizontalAdvance(written))
        << "a whole time shows once its folder is open";
    view.selectionModel()->select(folder, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.selectionModel()->select(file, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->CopySelection();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              tree.Path("c") + "\n" + tree.Path("c/" + file.data().toString().toStdString()));
    QList<QUrl> opened;
    window->m_openUrl = [&](const QUrl& url) {
        opened << url;
        return true;
    };
    view.setCurrentIndex(file);
    window->OpenFolder();
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(tree.Path("c")))});

    // An action added for the selected folder hears its path below the analysed folder.
    QStringList chosen;
    QAction* leaveOut = window->AddFolderAction(QStringLiteral("Some Folder Action"));
    QObject::connect(window, &CFilesWindow::FolderActionTriggered,
            [&](QAction* action, const QString& relative) { chosen << (action == leaveOut ? relative : ""); });
    leaveOut->trigger();
    EXPECT_EQ(chosen, QStringList{QStringLiteral("c")});

    EXPECT_EQ(m_frame->MessageText(), readout) << "the readout is left as it was";
    // A new analysis refills the window for the same point, and one with nothing closes it.
    const QString when = QStringLiteral("%1:%2").arg(bin / 60).arg(bin % 60, 2, 10, QLatin1Char('0'));
    Analyse(tree.Path("c"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->HeaderText().endsWith(QStringLiteral(": 2 files"))) << window->HeaderText().toStdString();
    EXPECT_EQ(ListedFiles(window->Model()), ReportedFiles(tree.Path("c"), when));
    Analyse(tree.Path("missing"));
    EXPECT_FALSE(window->isVisible());
}

// The status bar's message about folders that could not be read opens the list of them.
TEST_F(FilesWindowTest, TheMessageAboutUnreadableFoldersOpensTheirList) {
    m_frame->m_runner.m_load = [](const AnalysisSource& what, CStampStore& store, WalkControl& control) {
        CMemoryDirectorySource source;
        source.AddFile(CMemoryDirectorySource::kRoot, "f", 1);
        source.SetOpenError(source.AddFolder(CMemoryDirectorySource::kRoot, "locked"), EACCES);
        const int y = source.AddFolder(source.AddFolder(CMemoryDirectorySource::kRoot, "x"), "y");
        source.AddFile(y, "g", 2);
        source.SetListError(y, 0, EIO);
        return LoadSource(what, store, source, 1, &control);
    };
    Analyse("/memory");
    ASSERT_EQ(m_frame->MessageText(), QStringLiteral("2 folders could not be read."));
    EXPECT_EQ(m_frame->UnreadableFoldersWindow(), nullptr);
    QStatusBar* bar = m_frame->statusBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(10, bar->height() / 2));
    CUnreadableFoldersWindow* list = m_frame->UnreadableFoldersWindow();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    ASSERT_EQ(list->List().topLevelItemCount(), 2);
    EXPECT_EQ(list->List().topLevelItem(0)->text(0), QStringLiteral("/memory/locked"));
    EXPECT_EQ(list->List().topLevelItem(0)->text(1), QStringLiteral("Permission denied"));
    EXPECT_EQ(list->List().topLevelItem(1)->text(0), QStringLiteral("/memory/x/y"));
    EXPECT_EQ(list->List().topLevelItem(1)->text(1), QStringLiteral("Input/output error"));
}

} // namespace
