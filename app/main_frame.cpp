#include "main_frame.h"

#include "analysis_period.h"
#include "app_icons.h"
#include "averaging_bar.h"
#include "band_flow.h"
#include "busy_input_filter.h"
#include "command_ids.h"
#include "files_at_point.h"
#include "files_window.h"
#include "folder_tree_walk.h"
#include "graph_panel.h"
#include "graph_render.h"
#include "indicator_panes.h"
#include "leave_out_dialog.h"
#include "leave_out_rules.h"
#include "scan_progress.h"
#include "recent_folders.h"
#include "scan_report.h"
#include "stamp_store.h"
#include "string_table.h"
#include "unreadable_folders_window.h"
#include "user_guide.h"
#include "view_bar.h"
#include "window_settings.h"
#include "wait_cursor.h"
#include "window_text.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QWhatsThis>
#include <algorithm>
#include <utility>

CMainFrame* g_pMainFrame = nullptr;

namespace {

const QString kFolderPrompt = QStringLiteral("Select Folder to Analyze:");
const QString kPressEscToStop = QStringLiteral(" Press Esc to stop.");

QString ChooseFolder(QWidget* owner, const QString& prompt) {
    // Qt's own dialog: the same on every desktop, and scriptable.
    return QFileDialog::getExistingDirectory(owner, prompt, QString(),
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

QString ChoosePictureFile(QWidget* owner, const QString& suggested) {
    return QFileDialog::getSaveFileName(owner, QStringLiteral("Save Picture"), suggested,
                                        QStringLiteral("PNG pictures (*.png)"), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

} // namespace

CMainFrame::CMainFrame()
    : m_browseForFolder(ChooseFolder),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      m_choosePictureFile(ChoosePictureFile),
      m_showMessage([](QWidget* owner, const QString& text) {
          QMessageBox::information(owner, LoadResString(AFX_IDS_APP_TITLE), text);
      }),
      m_editLeaveOut([](QWidget* owner, const EntryFilter& rules) -> std::optional<EntryFilter> {
          CLeaveOutDialog dialog(rules, owner);
          if (dialog.exec() != QDialog::Accepted)
              return std::nullopt;
          return dialog.Rules();
      }),
      m_askYesNo([](QWidget* owner, const QString& question) {
          return QMessageBox::question(owner, LoadResString(AFX_IDS_APP_TITLE), question) == QMessageBox::Yes;
      }),
      m_leaveOut(LoadLeaveOutRules(QSettings())),
      m_walkFolderTree([this](CStampStore& store, const std::string& path, WalkControl& control) {
          // Runs on the walk's thread while the window takes no commands, so m_leaveOut holds
          // still and m_leftOut is read only once the walk has ended.
          WalkFolderTree(store, path, control, m_leaveOut, &m_leftOut);
      }) {
    setWindowTitle(LoadResString(IDR_MAINFRAME));
    setFocusPolicy(Qt::StrongFocus);
    InitSourceDialogs();

    m_wndPanel = new CGraphPanel(*this, theStampStore, this);
    m_wndPanel->setWhatsThis(QStringLiteral("The graph: how the files' last-write times spread over the "
                                            "period. Drag the time axis to turn the period, drag the "
                                            "density axis to stretch the curve."));
    setCentralWidget(m_wndPanel);
    connect(&m_wndPanel->m_plot, &CPlotWnd::FilesRequested, this, &CMainFrame::ShowFiles);

    CreateMenus();
    CreateBars();

    // The window manager's usual placement; about three quarters of the screen.
    if (const QScreen* screen = this->screen())
        resize(screen->availableSize() * 3 / 4);
}

CMainFrame::~CMainFrame() {
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text) {
    auto* action = new QAction(text, this);
    action->setStatusTip(CommandPrompt(id));
    if (const QString tip = CommandTip(id); !tip.isEmpty())
        action->setToolTip(tip);
    action->setIconVisibleInMenu(false); // only the toolbar shows the images
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    if (menu)
        menu->addAction(action);
    else
        addAction(action); // keyboard only
    m_actions[id] = action;
    return action;
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    AddCommand(file, ID_FILE_NEWFOLDER, QStringLiteral("&New folder..."))
        ->setIcon(CommandIcon(ID_FILE_NEWFOLDER));
    m_actions.at(ID_FILE_NEWFOLDER)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(file, ID_FILE_ANALYZEAGAIN, QStringLiteral("&Analyze Again"))->setShortcut(QKeySequence(Qt::Key_F5));
    m_recentMenu = file->addMenu(QStringLiteral("&Recent Folders"));
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::FillRecentMenu);
    AddCommand(file, ID_FILE_LEAVEOUT, QStringLiteral("&Leave Out..."));
    AddCommand(file, ID_FILE_GITHISTORY, QStringLiteral("Analyze &Git History..."));
    file->addSeparator();
    AddCommand(file, ID_FILE_OPENTIMELIST, QStringLiteral("&Open Time List..."));
    AddCommand(file, ID_FILE_SAVETIMELIST, QStringLiteral("&Save Time List..."));
    file->addSeparator();
    AddCommand(file, ID_FILE_SAVEPICTURE, QStringLiteral("Save &Picture..."))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    AddCommand(file, ID_APP_EXIT, QStringLiteral("E&xit"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (const ViewFacts& facts : kViews)
        AddCommand(view, facts.command, QLatin1Char('&') + QString::fromUtf8(facts.label))
            ->setCheckable(true);
    view->addSeparator();
    auto* counting = new QActionGroup(this); // radio check marks
    for (auto [id, text] : {std::pair{ID_VIEW_COUNT_FILES, "Count &Files"},
                            std::pair{ID_VIEW_COUNT_MINUTES, "Count &Active Minutes"}}) {
        QAction* action = AddCommand(view, id, QString::fromUtf8(text));
        action->setCheckable(true);
        counting->addAction(action);
    }
    view->addSeparator();
    AddCommand(view, ID_VIEW_SHOWFILES, QStringLiteral("Show Files at &Cursor"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    view->addSeparator();
    AddCommand(view, ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"))->setCheckable(true);
    connect(view, &QMenu::aboutToShow, this, &CMainFrame::OnUpdateCommandUI);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    AddCommand(help, ID_HELP_FINDER, QStringLiteral("&Help Topics"));
    help->addSeparator();
    AddCommand(help, ID_APP_ABOUT, QStringLiteral("&About Busyscope..."))->setIcon(CommandIcon(ID_APP_ABOUT));

    // The accelerators that are not menu items.
    AddCommand(nullptr, ID_HELP, QString())->setShortcut(QKeySequence(Qt::Key_F1));
    AddCommand(nullptr, ID_CONTEXT_HELP, QString())->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
}

QToolBar* CMainFrame::AddBand(const QString& name, QWidget* content) {
    auto* band = new QToolBar(name, this);
    band->setObjectName(name);
    band->setAllowedAreas(Qt::TopToolBarArea);
    band->setFloatable(false);
    band->setMovable(true);
    if (content)
        band->addWidget(content);
    addToolBar(Qt::TopToolBarArea, band);
    m_bands.push_back(band);
    return band;
}

void CMainFrame::CreateBars() {
    m_wndToolBar = AddBand(QStringLiteral("Toolbar"), nullptr);
    m_wndToolBar->setIconSize(QSize(16, 16));
    m_wndToolBar->addAction(m_actions.at(ID_FILE_NEWFOLDER));
    m_wndToolBar->addAction(m_actions.at(ID_APP_ABOUT));

    m_wndViewBar = new CViewBar(this);
    connect(m_wndViewBar, &CViewBar::ViewChosen, this, &CMainFrame::SetViewMode);
    m_wndViewBar->setWhatsThis(QStringLiteral("Choose the period the graph folds the file times into."));
    AddBand(QStringLiteral("View"), m_wndViewBar);

    m_wndAvgBar = new CAveragingBar(this);
    connect(m_wndAvgBar, &CAveragingBar::AveragingRead, m_wndPanel, qOverload<>(&QWidget::update));
    m_wndAvgBar->setWhatsThis(QStringLiteral("How wide a window the curve is averaged over."));
    AddBand(QStringLiteral("Averaging"), m_wndAvgBar);

    m_wndStatusBar = statusBar();
    m_indicators = new CIndicatorPanes(*m_wndStatusBar);
    m_wndStatusBar->installEventFilter(this); // a click on the unreadable folders' message lists them
    SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));

    // Every band fits on a row of its own, so none is ever cut behind an overflow arrow.
    int widest = 0;
    for (const QToolBar* band : m_bands)
        widest = std::max(widest, band->sizeHint().width());
    setMinimumWidth(widest);
}

QMenu* CMainFrame::createPopupMenu() {
    return nullptr;
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FlowBands();
}

void CMainFrame::FlowBands() {
    // The bands in the order they stand in, row by row, as the user may have moved them.
    std::vector<QToolBar*> bands = m_bands;
    std::stable_sort(bands.begin(), bands.end(), [](const QToolBar* a, const QToolBar* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    std::vector<int> widths;
    for (const QToolBar* band : bands)
        widths.push_back(band->sizeHint().width());
    const std::vector<bool> rowStarts = BandRowStarts(widths, width());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        // A break before a band puts it at the start of a new row; the first band needs none.
        const bool wanted = rowStarts[i] && i > 0;
        if (wanted && !toolBarBreak(bands[i]))
            insertToolBarBreak(bands[i]);
        else if (!wanted && toolBarBreak(bands[i]))
            removeToolBarBreak(bands[i]);
    }
}

void CMainFrame::InitMainFrame(const QString& folder) {
    g_pMainFrame = this;
    SetViewMode(VIEW_DAY);
    m_wndAvgBar->RefreshAveraging();
    RestoreWindowSettings();
    m_wndPanel->repaint();
    if (folder.isEmpty())
        QMetaObject::invokeMethod(this, "OnCommand", Qt::QueuedConnection, Q_ARG(int, ID_APP_ABOUT));
    else
        QMetaObject::invokeMethod(this, "AnalyseFolder", Qt::QueuedConnection, Q_ARG(QString, folder));
}

void CMainFrame::SetViewMode(int mode) {
    m_viewMode = mode;
    m_wndPanel->update();
    m_wndAvgBar->SetView(mode);
    m_wndPanel->setFocus();
    m_wndViewBar->SyncButtons(mode);
    OnUpdateCommandUI();
}

void CMainFrame::SetCountRule(CountRule rule) {
    m_wndPanel->m_plot.SetCountRule(rule);
    m_wndPanel->update();
    OnUpdateCommandUI();
}

void CMainFrame::OnFileNewFolder() {
    const QString path = m_browseForFolder ? m_browseForFolder(this, kFolderPrompt) : QString();
    if (!path.isEmpty())
        AnalyseFolder(path);
}

void CMainFrame::OnFileLeaveOut() {
    const std::optional<EntryFilter> rules = m_editLeaveOut ? m_editLeaveOut(this, m_leaveOut) : std::nullopt;
    if (!rules)
        return;
    m_leaveOut = *rules;
    QSettings settings;
    SaveLeaveOutRules(settings, m_leaveOut);
    if (!m_lastFolder.isEmpty() && m_askYesNo &&
        m_askYesNo(this, QStringLiteral("Analyze %1 again now?").arg(m_lastFolder)))
        AnalyseFolder(m_lastFolder);
}

void CMainFrame::LeaveOutFolder(const QString& relativeFolder) {
    // The list may come from a time list or a history rather than from the folder analysed last.
    if (IsAnalysing() || m_lastFolder.isEmpty() ||
        QFile::encodeName(m_lastFolder).toStdString() != theStampStore.GetFolder())
        return;
    if (!AddFolderRule(m_leaveOut, relativeFolder)) {
        SetMessageText(QStringLiteral("The analysed folder itself cannot be left out."));
        return;
    }
    QSettings settings;
    SaveLeaveOutRules(settings, m_leaveOut);
    AnalyseFolder(m_lastFolder);
}

void CMainFrame::OnFileAnalyzeAgain() {
    if (!m_lastFolder.isEmpty())
        AnalyseFolder(m_lastFolder);
}

void CMainFrame::OnFileSavePicture() {
    const QString path = m_choosePictureFile ? m_choosePictureFile(this, QStringLiteral("busyscope.png")) : QString();
    if (path.isEmpty())
        return;
    GraphPicture picture;
    picture.size = m_wndPanel->size();
    picture.view = m_viewMode;
    picture.averagingPosition = AveragingPosition();
    picture.xOffset = m_wndPanel->m_plot.m_xOffset;
    picture.yScale = m_wndPanel->m_plot.m_yScale;
    picture.countRule = m_wndPanel->m_plot.Histograms().m_countRule;
    const std::string error = SaveGraphPicture(theStampStore, picture, QFile::encodeName(path).toStdString());
    SetMessageText(error.empty() ? QStringLiteral("Picture saved to %1.").arg(TextForWindow(QFile::encodeName(path).toStdString()))
                                 : TextForWindow(error));
}

void CMainFrame::FillRecentMenu() {
    m_recentMenu->clear();
    const QStringList folders = LoadRecentFolders(QSettings());
    for (const QString& folder : folders) {
        QAction* item = m_recentMenu->addAction(QString(folder).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(item, &QAction::triggered, this, [this, folder] {
            if (!IsAnalysing())
                AnalyseFolder(folder);
        });
    }
    m_recentMenu->menuAction()->setEnabled(!folders.isEmpty());
}

void CMainFrame::AnalyseFolder(const QString& path) {
    m_lastFolder = path;
    const std::string folder = QFile::encodeName(path).toStdString();
    m_leftOut = {};
    const CBackgroundWalk::Outcome outcome = RunAnalysis(m_walkFolderTree, folder);
    if (outcome == CBackgroundWalk::Outcome::Complete && theStampStore.GetProblems().rootError == 0) {
        QSettings settings;
        SaveRecentFolders(settings, WithRecentFolder(LoadRecentFolders(settings), path));
    }
    const auto message = AnalysisOutcomeMessage(outcome, theStampStore.GetProblems(), folder, m_leftOut);
    SetMessageText(message ? TextForWindow(*message) : LoadResString(AFX_IDS_IDLEMESSAGE));
}

CBackgroundWalk::Outcome CMainFrame::RunAnalysis(const CBackgroundWalk::WalkFunction& source,
                                                 const std::string& path, const ProgressText& progress) {
    SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
    if (m_filesWindow)
        m_filesWindow->Clear(); // it lists records of the store about to be emptied
    theStampStore.Reset();
    RepaintGraph();
    const CWaitCursor wait;
    CBackgroundWalk walk(source, path);
    const CBackgroundWalk::Outcome outcome = RunWalk(walk, progress);
    if (outcome == CBackgroundWalk::Outcome::Complete)
        theStampStore = std::move(walk.Result());
    m_wndPanel->m_plot.RebuildHistograms();
    m_wndPanel->update();
    m_wndStatusBar->setToolTip(theStampStore.GetProblems().unreadable.empty()
                                   ? QString()
                                   : QStringLiteral("Click the message to list the folders that could not be read."));
    return outcome;
}

// The main window's own repaint leaves its opaque children alone: the graph is repainted itself.
void CMainFrame::RepaintGraph() {
    m_wndPanel->repaint();
    m_wndPanel->m_plot.repaint();
}

// Walks with the window alive around it: progress in pane 0 (idle again at the end), input
// ignored, Escape stops.
CBackgroundWalk::Outcome CMainFrame::RunWalk(CBackgroundWalk& walk, const ProgressText& progress) {
    m_walk = &walk;
    ShowBusy(true);
    const CBusyInputFilter ignoreInput(*this, [&walk] { walk.RequestStop(); });
    const CBackgroundWalk::Outcome outcome =
        walk.Run([this, &progress](std::int64_t files, std::int64_t folders) {
            SetMessageText(QString::fromStdString(progress(files, folders)) + kPressEscToStop);
        });
    m_walk = nullptr;
    ShowBusy(false);
    SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
    return outcome;
}

void CMainFrame::OnCommand(int id) {
    if (IsAnalysing())
        return;
    for (std::size_t view = 0; view < kViews.size(); ++view) {
        if (kViews[view].command == id) {
            SetViewMode(static_cast<int>(view));
            return;
        }
    }
    switch (id) {
    case ID_FILE_NEWFOLDER:
        OnFileNewFolder();
        break;
    case ID_FILE_ANALYZEAGAIN:
        OnFileAnalyzeAgain();
        break;
    case ID_FILE_SAVEPICTURE:
        OnFileSavePicture();
        break;
    case ID_FILE_GITHISTORY:
        OnFileGitHistory();
        break;
    case ID_FILE_OPENTIMELIST:
        OnFileOpenTimeList();
        break;
    case ID_FILE_SAVETIMELIST:
        OnFileSaveTimeList();
        break;
    case ID_FILE_LEAVEOUT:
        OnFileLeaveOut();
        break;
    case ID_VIEW_COUNT_FILES:
        SetCountRule(CountRule::Files);
        break;
    case ID_VIEW_COUNT_MINUTES:
        SetCountRule(CountRule::ActiveMinutes);
        break;
    case ID_VIEW_SHOWFILES:
        if (theStampStore.m_nFiles > 0)
            ShowFiles(m_wndPanel->m_plot.CursorBin());
        break;
    case ID_VIEW_STATUS_BAR:
        OnBarCheck();
        break;
    case ID_HELP:
    case ID_HELP_FINDER:
        OnHelpFinder();
        break;
    case ID_CONTEXT_HELP:
        OnContextHelp();
        break;
    default:
        emit AppCommand(id);
        return;
    }
    OnUpdateCommandUI();
}

QAction* CMainFrame::CommandAction(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QString CMainFrame::MessageText() const {
    return m_wndStatusBar->currentMessage();
}

int CMainFrame::AveragingPosition() const {
    return m_wndAvgBar->m_nAverage;
}

void CMainFrame::ShowReadout(const QString& text) {
    SetMessageText(text);
}

void CMainFrame::SetMessageText(const QString& text) {
    m_wndStatusBar->showMessage(text);
}

void CMainFrame::OnUpdateCommandUI() {
    for (std::size_t view = 0; view < kViews.size(); ++view)
        m_actions.at(kViews[view].command)->setChecked(m_viewMode == static_cast<int>(view));
    const bool countsFiles = m_wndPanel->m_plot.GetCountRule() == CountRule::Files;
    m_actions.at(ID_VIEW_COUNT_FILES)->setChecked(countsFiles);
    m_actions.at(ID_VIEW_COUNT_MINUTES)->setChecked(!countsFiles);
    m_actions.at(ID_VIEW_STATUS_BAR)->setChecked(!m_wndStatusBar->isHidden());
    m_actions.at(ID_FILE_ANALYZEAGAIN)->setEnabled(!IsAnalysing() && !m_lastFolder.isEmpty());
}

void CMainFrame::OnBarCheck() {
    m_wndStatusBar->setHidden(!m_wndStatusBar->isHidden());
}

void CMainFrame::OnHelpFinder() {
    const QUrl guide = UserGuideUrl();
    if (guide.isEmpty())
        SetMessageText(QStringLiteral("The user guide is not installed."));
    else if (!m_openUrl || !m_openUrl(guide)) {
        SetMessageText(QStringLiteral("Cannot open %1.").arg(guide.toLocalFile()));
        if (m_showMessage)
            m_showMessage(this, QStringLiteral("No web browser could be started to show the user guide. "
                                               "Open it in a browser of your choice:\n\n%1")
                                    .arg(guide.toLocalFile()));
    }
}

void CMainFrame::ShowBusy(bool busy) {
    menuBar()->setEnabled(!busy);
    for (const auto& [id, action] : m_actions)
        action->setEnabled(!busy);
    m_wndViewBar->setEnabled(!busy);
    m_wndAvgBar->setEnabled(!busy);
    if (!busy)
        OnUpdateCommandUI();
}

void CMainFrame::OnContextHelp() {
    QWhatsThis::enterWhatsThisMode();
    SetMessageText(LoadResString(AFX_IDS_HELPMODEMESSAGE));
}

void CMainFrame::OnSetFocus() {
    m_wndPanel->setFocus();
}

void CMainFrame::RestoreWindowSettings() {
    const std::optional<WindowSettings> remembered = LoadWindowSettings(QSettings());
    if (!remembered)
        return;
    m_wndAvgBar->m_slider.setValue(remembered->averagingPosition);
    m_wndAvgBar->RefreshAveraging();
    SetCountRule(remembered->countRule);
    SetViewMode(remembered->view);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_walk)
        m_walk->RequestStop();
    QSettings settings;
    SaveWindowSettings(settings,
                       {m_viewMode, AveragingPosition(), m_wndPanel->m_plot.GetCountRule()});
    QMainWindow::closeEvent(event);
}

void CMainFrame::focusInEvent(QFocusEvent* /*event*/) {
    OnSetFocus();
}

void CMainFrame::ShowFiles(int bin) {
    if (IsAnalysing())
        return;
    if (!m_filesWindow) {
        m_filesWindow = new CFilesWindow(this);
        QAction* leaveOut =
            m_filesWindow->AddFolderAction(QStringLiteral("Leave Out This Folder"), QKeySequence::Delete);
        connect(m_filesWindow, &CFilesWindow::FolderActionTriggered, this,
                [this, leaveOut](QAction* action, const QString& relativeFolder) {
                    if (action == leaveOut)
                        LeaveOutFolder(relativeFolder);
                });
    }
    m_filesWindow->ShowFiles(theStampStore,
                             SelectFilesAtPoint(theStampStore, m_viewMode, bin, AveragingPosition(),
                                                m_wndPanel->m_plot.GetCountRule()));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_wndStatusBar && event->type() == QEvent::MouseButtonPress && !IsAnalysing()) {
        const ScanProblems& problems = theStampStore.GetProblems();
        const auto message = ScanProblemMessage(problems, theStampStore.GetFolder());
        if (!problems.unreadable.empty() && message && MessageText() == TextForWindow(*message)) {
            if (!m_unreadableWindow)
                m_unreadableWindow = new CUnreadableFoldersWindow(this);
            m_unreadableWindow->ShowProblems(theStampStore.GetFolder(), problems);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::event(QEvent* event) {
    // A prompt replaces pane 0; when it clears, the idle text comes back.
    if (event->type() == QEvent::StatusTip) {
        if (IsAnalysing())
            return true; // pane 0 shows the walk's progress
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        SetMessageText(tip.isEmpty() ? LoadResString(AFX_IDS_IDLEMESSAGE) : tip);
        return true;
    }
    // Leaving the context-help mode takes its prompt away.
    if (event->type() == QEvent::LeaveWhatsThisMode &&
        MessageText() == LoadResString(AFX_IDS_HELPMODEMESSAGE))
        SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
    return QMainWindow::event(event);
}
