#pragma once

#include "analysis_runner.h"
#include "analysis_source.h"
#include "app_settings.h"
#include "date_range.h"
#include "files_at_point.h"
#include "frame_dialogs.h"
#include "graph_host.h"
#include "graph_render.h"
#include "period_histograms.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class CAveragingBar;
class CBurstsWindow;
class CCalendarPanel;
class CDateRangeController;
class CFilesWindow;
class CUnreadableFoldersWindow;
class CGraphPanel;
class CIndicatorPanes;
class CRulesPane;
class CViewBar;
class QAction;
class QMenu;
class QStackedWidget;
class QStatusBar;
class QToolBar;

// The one main window: menu, toolbar, view bar and averaging bar at the top, the graph in
// the middle and the status bar at the bottom. It holds the current view and the current
// source, and hands analyses to its runner.
class CMainFrame : public QMainWindow, public IGraphHost {
    Q_OBJECT

public:
    CMainFrame();
    ~CMainFrame() override;

    // Called once after the window is built and before it is first shown: selects the day
    // view, writes the averaging label and queues the about box, or, given a source, its analysis.
    void InitMainFrame(const std::optional<AnalysisSource>& source = std::nullopt);

    // The one way the view changes: the graph, the averaging label, the view bar and the View
    // menu follow it.
    void SetViewMode(int mode);

    // Shows the Dates view in place of the graph; SetViewMode brings the graph back.
    void ShowDates();
    bool DatesShown() const { return m_datesShown; }

    // How the graph counts: every file (the default), or every active minute once.
    void SetCountRule(CountRule rule);

    // Takes back the view, the averaging position and the count mode the window was closed
    // with, when they were remembered and make sense; else leaves the described defaults.
    void RestoreWindowSettings();

    // Reads the source and shows the result; it becomes the current source. A folder source is
    // walked with the rules in force. Escape stops the reading and leaves what was shown before.
    void Analyse(AnalysisSource source);

    // The Files window's Leave Out This Folder: adds a rule for the folder, given by its path
    // below the analysed one, remembers the rules, and analyses the same folder again at once.
    // The analysed folder itself is refused with a message.
    void LeaveOutFolder(const QString& relativeFolder);

    // Counts only the records written in the range (all of them without one): the graph, its
    // readout and title, the Files window's lists, and a status-bar pane naming the range.
    void SetDateRange(std::optional<DateRange> range);

    // Makes the rules those of the next folder analyses, remembers them and offers to analyse
    // the folders shown again, as OK in the Leave Out dialog does.
    void ApplyLeaveOutRules(const EntryFilter& rules);

    // Whether an analysis is reading its source; input and commands are ignored meanwhile.
    bool IsAnalysing() const { return m_runner.IsRunning(); }

    // The menu item or toolbar button of a command; nullptr for an id that has none.
    QAction* CommandAction(int id) const;
    // The items of File > Recent, newest first.
    QList<QAction*> RecentActions();

    // The text of status pane 0.
    QString MessageText() const;

    // Lists the files behind the curve at a bin of the current view in the Files window.
    void ShowFiles(int bin);
    // The Files window and the list of unreadable folders, once they have been opened.
    CFilesWindow* FilesWindow() const { return m_filesWindow; }
    CUnreadableFoldersWindow* UnreadableFoldersWindow() const { return m_unreadableWindow; }
    // View > Bursts...: the bursts of the current analysis in a window of their own
    // (main_frame_bursts.cpp); the files of one burst in the Files window.
    void ShowBursts();
    void ShowFilesWrittenIn(const FilesAtPoint::WrittenSpan& span);
    CBurstsWindow* BurstsWindow() const { return m_burstsWindow; }

    // The bar area offers no menu: the three bands are always shown.
    QMenu* createPopupMenu() override { return nullptr; }

    // IGraphHost
    int CurrentViewMode() const override { return m_viewMode; }
    int AveragingPosition() const override;
    void ShowReadout(const QString& text) override { SetMessageText(text); }

    CFrameDialogs m_dialogs;
    CAnalysisRunner m_runner;
    // What the next folder analysis leaves out (remembered between runs), and what the last one did.
    EntryFilter m_leaveOut;
    LeftOutCounts m_leftOut;

    QToolBar* m_wndToolBar = nullptr;
    CViewBar* m_wndViewBar = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    CAveragingBar* m_wndAvgBar = nullptr;
    CGraphPanel* m_wndPanel = nullptr;
    CCalendarPanel* m_wndCalendar = nullptr;
    int m_viewMode = 0; // the graph's view, kept while the Dates view is shown

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
    // Menus and bands (main_frame_bars.cpp). OnCommand carries out a command by its handler;
    // a command without one is the application's.
    QAction* AddCommand(QMenu* menu, int id, const QString& text, std::function<void()> handler = {});
    QToolBar* AddBand(const QString& name, QWidget* content);
    void CreateMenus();
    void CreateBars();
    void FillRecentMenu();
    // Wraps the bands onto as many rows as the window's width needs, like a rebar.
    void FlowBands();
    // Menus, bars and buttons look disabled while a source is read, and come back after.
    void ShowBusy(bool busy);
    void OnUpdateCommandUI();

    // Commands.
    void OnFileLeaveOut();
    void OnFileSavePicture();
    void OnFileGitHistory();
    void OnFileOpenTimeList();
    void OnFileSaveTimeList();
    void OnHelpFinder();
    void OnContextHelp();

    // The Dates view's calendar beside the graph in the middle of the window (main_frame_dates.cpp).
    void CreateDatesView();
    // The calendar's highlight goes once the range it chose is replaced by a command.
    void FollowRangeOnCalendar();

    void SetMessageText(const QString& text);
    // What Save Picture saves of the graph as it is shown.
    GraphPicture CurrentGraphPicture() const;
    // After an analysis: the Files window shows the same point of the new result, or closes
    // when there is none.
    void RefillFilesWindow(const std::optional<FilesAtPoint>& shown);
    // Lists the files in the Files window, made the first time it is needed.
    void ListFiles(FilesAtPoint files);
    // Whether rules can leave out the folders of what is shown: a folder walk's.
    bool FolderRulesApply() const;
    // After an analysis: the Bursts window lists the new bursts, or closes when there are none.
    void RefillBurstsWindow();
    // The idle prompt, or, when bursts hold more than half of the records, that share and
    // where to look (see BurstShareText).
    QString IdleOrBurstsText() const;

    CAppSettings m_settings;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    std::vector<QToolBar*> m_bands;
    CRulesPane* m_rulesPane = nullptr; // shown while rules leave anything out
    CDateRangeController* m_dateRanges = nullptr;
    CFilesWindow* m_filesWindow = nullptr;
    CUnreadableFoldersWindow* m_unreadableWindow = nullptr;
    CBurstsWindow* m_burstsWindow = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::optional<AnalysisSource> m_source; // what the graph shows, for Analyze Again
    QStackedWidget* m_middle = nullptr;     // the graph or the calendar
    bool m_datesShown = false;
    std::optional<DateRange> m_calendarRange; // the range last chosen on the calendar
};

// The main window, set once by InitMainFrame.
extern CMainFrame* g_pMainFrame;
