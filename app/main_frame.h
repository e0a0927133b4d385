#pragma once

#include "background_walk.h"
#include "filtered_directory_source.h"
#include "git_history.h"
#include "graph_host.h"
#include "period_histograms.h"
#include "scan_progress.h"

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <map>
#include <vector>

class CAveragingBar;
class CFilesWindow;
class CUnreadableFoldersWindow;
class CGraphPanel;
class CIndicatorPanes;
class CViewBar;
class QAction;
class QMenu;
class QStatusBar;
class QToolBar;

// The one main window: menu, toolbar, view bar and averaging bar at the top, the graph in
// the middle and the status bar at the bottom. It holds the current view and runs analyses.
class CMainFrame : public QMainWindow, public IGraphHost {
    Q_OBJECT

public:
    CMainFrame();
    ~CMainFrame() override;

    // Called once after the window is built and before it is first shown: selects the day
    // view, writes the averaging label and queues the about box, or, given a folder, its analysis.
    void InitMainFrame(const QString& folder = {});

    // The one way the view changes: the graph, the averaging label, the view bar and the View
    // menu follow it.
    void SetViewMode(int mode);

    // How the graph counts: every file (the default), or every active minute once.
    void SetCountRule(CountRule rule);

    // Asks for a folder, walks it and shows the result. The walk runs on a thread of its own
    // while the window paints and shows its progress; Escape or closing the window stops it.
    void OnFileNewFolder();
    // Takes back the view, the averaging position and the count mode the window was closed
    // with, when they were remembered and make sense; else leaves the described defaults.
    void RestoreWindowSettings();

    // File > Leave Out...: edits the rules the next analysis applies, remembers them, and offers
    // to analyse the last folder again at once.
    void OnFileLeaveOut();
    // The Files window's Leave Out This Folder: adds a rule for the folder, given by its path
    // below the analysed one, remembers the rules, and analyses the same folder again at once.
    // The analysed folder itself is refused with a message.
    void LeaveOutFolder(const QString& relativeFolder);
    // File > Analyze Again: the folder analysed last, read afresh.
    void OnFileAnalyzeAgain();
    // File > Save Picture...: the graph as shown, saved exactly as busyscope-report --png would.
    void OnFileSavePicture();
    // Walks the folder and shows the result, as the New-folder command does once a folder is chosen.
    Q_INVOKABLE void AnalyseFolder(const QString& path);

    // Asks for the folder of a git repository and then which commits count, and shows when the
    // commits were written, each at its author's wall clock; a notice of the reading (a shallow
    // clone's history cut short, commits skipped) shows in the status bar.
    void OnFileGitHistory();
    // Asks for a time list and shows its times; saves the current times as a list.
    void OnFileOpenTimeList();
    void OnFileSaveTimeList();

    // Whether an analysis is walking its folder; input and commands are ignored meanwhile.
    bool IsAnalysing() const { return m_walk != nullptr; }

    // The menu item or toolbar button of a command; nullptr for an id that has none.
    QAction* CommandAction(int id) const;

    // The text of status pane 0.
    QString MessageText() const;

    // Lists the files behind the curve at a bin of the current view in the Files window.
    void ShowFiles(int bin);
    // The Files window and the list of unreadable folders, once they have been opened.
    CFilesWindow* FilesWindow() const { return m_filesWindow; }
    CUnreadableFoldersWindow* UnreadableFoldersWindow() const { return m_unreadableWindow; }

    // The bar area offers no menu: the three bands are always shown.
    QMenu* createPopupMenu() override;

    // IGraphHost
    int CurrentViewMode() const override { return m_viewMode; }
    int AveragingPosition() const override;
    void ShowReadout(const QString& text) override;

    // Replaceable so that tests can answer them: the folder chooser (an empty path means
    // cancelled) and the viewer the user guide is opened in.
    std::function<QString(QWidget* owner, const QString& prompt)> m_browseForFolder;
    std::function<bool(const QUrl& url)> m_openUrl;
    // The file choosers of the time lists (an empty path means cancelled) and the choice of a
    // history's commits for the repository chosen (nothing when cancelled).
    std::function<QString(QWidget* owner, const QString& caption)> m_chooseOpenFile;
    std::function<QString(QWidget* owner, const QString& caption)> m_chooseSaveFile;
    std::function<std::optional<GitHistoryOptions>(QWidget* owner, const QString& repository)>
        m_askGitHistory;
    // Where File > Save Picture... saves (an empty path means cancelled), and a message box.
    std::function<QString(QWidget* owner, const QString& suggested)> m_choosePictureFile;
    std::function<void(QWidget* owner, const QString& text)> m_showMessage;
    // The Leave Out dialog (nothing when cancelled) and the question whether to analyse again,
    // replaceable so that tests can answer them.
    std::function<std::optional<EntryFilter>(QWidget* owner, const EntryFilter& rules)> m_editLeaveOut;
    std::function<bool(QWidget* owner, const QString& question)> m_askYesNo;
    // What the next analysis leaves out (remembered between runs), and what the last one did.
    EntryFilter m_leaveOut;
    LeftOutCounts m_leftOut;
    // The walk an analysis runs, on its own thread; the real folder tree, less what m_leaveOut
    // says, unless a test says otherwise.
    CBackgroundWalk::WalkFunction m_walkFolderTree;

    QToolBar* m_wndToolBar = nullptr;
    CViewBar* m_wndViewBar = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    CAveragingBar* m_wndAvgBar = nullptr;
    CGraphPanel* m_wndPanel = nullptr;
    int m_viewMode = 0;

public slots:
    // Carries out a command by id; commands the frame does not handle go to the application.
    void OnCommand(int id);

signals:
    void AppCommand(int id);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* AddCommand(QMenu* menu, int id, const QString& text);
    QToolBar* AddBand(const QString& name, QWidget* content);
    void CreateMenus();
    void CreateBars();
    void OnSetFocus();
    void OnUpdateCommandUI();
    void OnHelpFinder();
    void FillRecentMenu();
    // Menus, bars and buttons look disabled while a folder is read, and come back after.
    void ShowBusy(bool busy);
    void OnContextHelp();
    void OnBarCheck();
    void SetMessageText(const QString& text);
    // Wraps the bands onto as many rows as the window's width needs, like a rebar.
    void FlowBands();
    // The status bar's text while a source is read, from its counts of files and folders.
    using ProgressText = std::function<std::string(std::int64_t files, std::int64_t folders)>;
    CBackgroundWalk::Outcome RunWalk(CBackgroundWalk& walk, const ProgressText& progress);
    // Empties the graph, fills the store from the source on a thread of its own and shows the result.
    CBackgroundWalk::Outcome RunAnalysis(const CBackgroundWalk::WalkFunction& source, const std::string& path,
                                         const ProgressText& progress = FormatScanProgress);
    // Fills the store from the path, returning a problem as one line ("" when there is none).
    using SourceLoad = std::function<std::string(CStampStore&, const std::string& path, WalkControl&)>;
    // Runs such a source, its problem shown in the status bar; its progress counts records
    // called noun.
    void AnalyseSource(const std::string& path, const char* noun, const SourceLoad& load);
    void InitSourceDialogs();
    void RepaintGraph();

    std::map<int, QAction*> m_actions;
    std::vector<QToolBar*> m_bands;
    CIndicatorPanes* m_indicators = nullptr;
    CBackgroundWalk* m_walk = nullptr; // the walk under way, if any
    CFilesWindow* m_filesWindow = nullptr;
    CUnreadableFoldersWindow* m_unreadableWindow = nullptr;
    QMenu* m_recentMenu = nullptr;
    QString m_lastFolder; // the folder analysed last, for Analyze Again
};

// The main window, set once by InitMainFrame.
extern CMainFrame* g_pMainFrame;
