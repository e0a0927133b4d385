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
QStringList ListedFiles(CFilesModel& model, const QModelIndex& parent = {}) {
    QStringList lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        if (model.rowCount(index) > 0) {
            lines << ListedFiles(model, index);
            continue;
        }
        const QString relative = model.RelativeFolder(index);
        const QString name = index.data().toString();
        lines << model.index(row, CFilesModel::WrittenColumn, parent).data().toString() + '\t' +
                     (relative.isEmpty() ? name : relative + '/' + name);
    }
    lines.sort();
    return lines;
}

// The window's folder rows as the report's summary prints them: "COUNT<TAB>SHARE<TAB>FOLDER",
// each before its children, FOLDER indented two spaces a level.
QStringList FolderLines(CFilesModel& model, const QModelIndex& parent = {}, int depth = 0) {
    QStringList lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QString files = model.index(row, CFilesModel::FilesColumn, parent).data().toString();
        if (files.isEmpty())
            continue; // a file
        const QModelIndex folder = model.index(row, 0, parent);
        lines << files + '\t' + model.index(row, CFilesModel::ShareColumn, parent).data().toString() + '\t' +
                     QString(2 * depth, ' ') + folder.data().toString();
        lines << FolderLines(model, folder, depth + 1);
    }
    return lines;
}

// What busyscope-report --files-at prints for the same point (with more arguments before it).
QStringList Report(const std::string& folder, const QString& when, const QStringList& more = {}) {
    QProcess report;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    report.setProcessEnvironment(environment);
    report.start(QStringLiteral(BUSYSCOPE_REPORT_EXE),
                 QStringList{QStringLiteral("--files-at"), when} + more << QString::fromStdString(folder));
    EXPECT_TRUE(report.waitForFinished(30000));
    EXPECT_EQ(report.exitCode(), 0) << report.readAllStandardError().toStdString();
    return QString::fromUtf8(report.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// The same, its lines sorted.
QStringList ReportedFiles(const std::string& folder, const QString& when) {
    QStringList lines = Report(folder, when);
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
    EXPECT_EQ(window->Model().index(0, CFilesModel::NameColumn).data().toString(), QStringLiteral("a"))
        << "the fullest folder first";
    EXPECT_EQ(window->Model().index(0, CFilesModel::ShareColumn).data().toString(), QStringLiteral("75.0%"))
        << "with its subfolder's files";

    QCoreApplication::processEvents(); // the main window settles after the Files window came up
    int x = 0;                         // the first column from 02:30 PM on
    while (BinUnderPointer(x, plot.width(), 1440, plot.m_xOffset) < 14 * 60 + 30)
        ++x;
    const int bin = BinUnderPointer(x, plot.width(), 1440, plot.m_xOffset);
    const QString when = QStringLiteral("%1:%2").arg(bin / 60).arg(bin % 60, 2, 10, QLatin1Char('0'));
    ShowFilesFromContextMenu(plot, x);
    EXPECT_TRUE(window->HeaderText().endsWith(QStringLiteral(" \u00b1 50 minutes: 2 files")))
        << window->HeaderText().toStdString();
    EXPECT_EQ(ListedFiles(window->Model()), ReportedFiles(tree.Root(), when));

    // Copy the folder row and a file row; open the folder of the file.
    QTreeView& view = window->Tree();
    const QModelIndex folder = window->Model().index(0, 0);
    const QModelIndex file = window->Model().index(1, 0, folder);
    view.expand(folder);
    const QString written = window->Model().index(1, CFilesModel::WrittenColumn, folder).data().toString();
    EXPECT_GE(view.header()->sectionSize(CFilesModel::WrittenColumn),
              view.fontMetrics().horizontalAdvance(written))
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

    EXPECT_EQ(m_frame->MessageText(), readout) << "the readout is left as it was";
    // A new analysis refills the window for the same point, and one with nothing closes it.
    Analyse(tree.Path("c"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->HeaderText().endsWith(QStringLiteral(": 2 files")))
        << window->HeaderText().toStdString();
    EXPECT_EQ(ListedFiles(window->Model()), ReportedFiles(tree.Path("c"), when));
    Analyse(tree.Path("missing"));
    EXPECT_FALSE(window->isVisible());
}

// Whether the rows below parent, and below each of its folders, are sorted by the column in
// the order given: folders first, then files (which have no count to sort by).
bool SortedEverywhere(CFilesModel& model, int column, Qt::SortOrder order, const QModelIndex& parent = {}) {
    const bool counts = column == CFilesModel::FilesColumn || column == CFilesModel::ShareColumn;
    std::vector<std::pair<bool, QByteArray>> keys; // a file or not, and the key
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QString files = model.index(row, CFilesModel::FilesColumn, parent).data().toString();
        const bool file = files.isEmpty();
        if (!file && !SortedEverywhere(model, column, order, model.index(row, 0, parent)))
            return false;
        if (!(file && counts))
            keys.emplace_back(file, counts ? QString(files).remove(',').rightJustified(20, '0').toUtf8()
                                           : model.index(row, column, parent).data().toString().toUtf8());
    }
    return std::is_sorted(keys.begin(), keys.end(), [order](const auto& a, const auto& b) {
        if (a.first != b.first)
            return b.first; // folders before files
        return order == Qt::AscendingOrder ? a.second < b.second : b.second < a.second;
    });
}

// A planted burst: the window's tree is the report's, opened along the folder holding most of
// it; every column sorts within each folder and the current row follows; Leave Out This Folder on
// the collapsed chain's row leaves out that subtree and nothing beside it.
TEST_F(FilesWindowTest, ATreeOfSubtotalsAsTheReportPrintsItLeavesOutTheRowChosen) {
    CScopedTimeZone utc("UTC");
    CTestTree tree;
    for (const char* file :
         {"lib/google-cloud-sdk/lib/core/a.py", "lib/google-cloud-sdk/lib/core/b.py",
          "lib/google-cloud-sdk/lib/x.py", "lib/google-cloud-sdk/lib/x2.py",
          "lib/gcc/x86_64-linux-gnu/12/adainclude/s.ads", "lib/google-cloud-sdk/lib/core/c.py",
          "lib/google-cloud-sdk/lib/api/d.py", "lib/google-cloud-sdk-extra/e", "lib/google-cloud-sdk-extra/f",
          "README", "bin/ls", "bin/cp"})
        tree.AddFile(file, 1719844200); // 2024-07-01 14:30
    tree.AddFile("lib/google-cloud-sdk/lib/core/later", 1719844200 + 60);
    tree.AddFile("elsewhere", 1719800000);
    Analyse(tree.Root());
    m_frame->ShowFiles(14 * 60 + 30);
    CFilesWindow& window = *m_frame->FilesWindow();
    CFilesModel& model = window.Model();
    QTreeView& view = window.Tree();

    const QStringList summary{QStringLiteral("--format=summary")};
    QStringList report = Report(tree.Root(), QStringLiteral("14:30"), summary);
    ASSERT_FALSE(report.isEmpty());
    EXPECT_EQ(report.front(), window.HeaderText());
    EXPECT_EQ(FolderLines(model), report.mid(1));
    EXPECT_EQ(report.mid(1),
              QStringList({"10\t76.9%\tlib", "7\t53.8%\t  google-cloud-sdk/lib", "4\t30.8%\t    core",
                           "1\t7.7%\t    api", "2\t15.4%\t  google-cloud-sdk-extra",
                           "1\t7.7%\t  gcc/x86_64-linux-gnu/12/adainclude", "2\t15.4%\tbin", "1\t7.7%\t."}));
    const QModelIndex lib = model.index(0, 0);
    const QModelIndex chain = model.index(0, 0, lib);
    const QModelIndex core = model.index(0, 0, chain);
    EXPECT_TRUE(view.isExpanded(lib) && view.isExpanded(chain)) << "open while more than half";
    EXPECT_EQ(view.currentIndex(), chain) << "the folder to leave out is the current row";
    EXPECT_FALSE(view.isExpanded(core) || view.isExpanded(model.index(1, 0)));
    EXPECT_EQ(chain.data(Qt::ToolTipRole).toString().toStdString(), tree.Path("lib/google-cloud-sdk/lib"));
    EXPECT_EQ(view.textElideMode(), Qt::ElideMiddle);

    // Each header sorts on the first click (names from A, the rest largest first) and the second.
    QHeaderView& header = *view.header();
    for (int column = 0; column < CFilesModel::ColumnCount; ++column)
        for (const Qt::SortOrder order : {column == 0 ? Qt::AscendingOrder : Qt::DescendingOrder,
                                          column == 0 ? Qt::DescendingOrder : Qt::AscendingOrder}) {
            QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                              QPoint(header.sectionViewportPosition(column) + header.sectionSize(column) / 2,
                                     header.height() / 2));
            EXPECT_EQ(header.sortIndicatorSection(), column);
            EXPECT_EQ(header.sortIndicatorOrder(), order) << column;
            EXPECT_TRUE(SortedEverywhere(model, column, order)) << column << ' ' << order;
            EXPECT_EQ(view.currentIndex().data().toString(), QStringLiteral("google-cloud-sdk/lib"))
                << column;
        }

    // Leave Out This Folder on that row: its subtree goes, its sibling of a like name stays.
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == QStringLiteral("Leave Out This Folder"))
            action->trigger();
    ASSERT_EQ(m_frame->m_leaveOut.folderRules.size(), 1U);
    EXPECT_EQ(m_frame->m_leaveOut.folderRules.back().pattern, "/lib/google-cloud-sdk/lib");
    EXPECT_EQ(theStampStore.m_nFiles, 14 - 7);
    report = Report(tree.Root(), QStringLiteral("14:30"),
                    summary + QStringList{QStringLiteral("--exclude=/lib/google-cloud-sdk/lib")});
    header.setSortIndicator(CFilesModel::FilesColumn, Qt::DescendingOrder);
    EXPECT_EQ(FolderLines(model), report.mid(1)) << "refilled for the same point";
    EXPECT_TRUE(report.contains("2\t33.3%\t  google-cloud-sdk-extra")) << report.join('\n').toStdString();
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
