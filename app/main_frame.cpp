#include "main_frame.h"

#include "averaging_bar.h"
#include "calendar_panel.h"
#include "command_ids.h"
#include "date_range_controller.h"
#include "files_window.h"
#include "graph_panel.h"
#include "graph_render.h"
#include "rules_pane.h"
#include "scan_report.h"
#include "stamp_store.h"
#include "string_table.h"
#include "view_bar.h"
#include "window_text.h"

#include <QCloseEvent>
#include <QFile>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <utility>

CMainFrame* g_pMainFrame = nullptr;

CMainFrame::CMainFrame() : m_runner(*this, [this](const QString& progress) { SetMessageText(progress); }) {
    m_leaveOut = m_settings.LeaveOutRules();
    setWindowTitle(LoadResString(IDR_MAINFRAME));
    setFocusPolicy(Qt::StrongFocus);

    m_wndPanel = new CGraphPanel(*this, theStampStore, this);
    m_wndPanel->setWhatsThis(QStringLiteral("The graph: how the files' last-write times spread over the "
                                            "period. Drag the time axis to turn the period, drag the "
                                            "density axis to stretch the curve."));
    connect(&m_wndPanel->m_plot, &CPlotWnd::FilesRequested, this, &CMainFrame::ShowFiles);
    CreateDatesView();

    CreateMenus();
    CreateBars();
    m_dateRanges = new CDateRangeController(*this, m_wndPanel->m_plot, *m_wndStatusBar);

    // The window manager's usual placement; about three quarters of the screen.
    if (const QScreen* screen = this->screen())
        resize(screen->availableSize() * 3 / 4);
}

CMainFrame::~CMainFrame() {
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
}

void CMainFrame::InitMainFrame(const std::optional<AnalysisSource>& source) {
    g_pMainFrame = this;
    SetViewMode(VIEW_DAY);
    m_wndAvgBar->RefreshAveraging();
    RestoreWindowSettings();
    m_wndPanel->repaint();
    if (source)
        QMetaObject::invokeMethod(
            this, [this, source] { Analyse(*source); }, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(this, "OnCommand", Qt::QueuedConnection, Q_ARG(int, ID_APP_ABOUT));
}

void CMainFrame::SetViewMode(int mode) {
    m_viewMode = mode;
    m_datesShown = false;
    m_middle->setCurrentWidget(m_wndPanel);
    m_wndPanel->update();
    m_wndAvgBar->SetView(mode);
    m_wndPanel->setFocus();
    m_wndViewBar->SyncButtons(mode);
    OnUpdateCommandUI();
}

void CMainFrame::SetCountRule(CountRule rule) {
    m_wndPanel->m_plot.SetCountRule(rule);
    m_wndCalendar->SetCountRule(rule);
    m_wndPanel->update();
    OnUpdateCommandUI();
}

void CMainFrame::SetDateRange(std::optional<DateRange> range) {
    m_dateRanges->SetChosenRange(range);
}

void CMainFrame::Analyse(AnalysisSource source) {
    if (auto* folders = std::get_if<FolderSource>(&source))
        folders->rules = m_leaveOut;
    std::optional<FilesAtPoint> shownFiles;
    if (m_filesWindow && m_filesWindow->isVisible() && m_filesWindow->ShownPoint())
        shownFiles = *m_filesWindow->ShownPoint();
    if (m_filesWindow)
        m_filesWindow->Clear(); // it lists records of the store about to be put aside

    // The graph shows nothing while the source is read; a stopped reading brings it back.
    SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
    CStampStore shown = std::move(theStampStore);
    m_wndPanel->m_plot.RebuildHistograms();
    m_wndCalendar->StoreChanged();
    // The main window's own repaint leaves its opaque children alone: the graph is repainted itself.
    m_wndPanel->repaint();
    m_wndPanel->m_plot.repaint();
    ShowBusy(true);
    const CAnalysisRunner::Result result = m_runner.Run(source, theStampStore);
    ShowBusy(false);
    SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
    if (result.outcome == CBackgroundWalk::Outcome::Complete) {
        m_source = source;
        m_leftOut = result.load.leftOut;
        m_rulesPane->ShowAnalysis(source, m_leaveOut, result.load);
        if (result.load.failure == SourceLoad::Failure::None && theStampStore.GetProblems().rootError == 0)
            m_settings.AddRecentSource(source);
    } else {
        theStampStore = std::move(shown);
    }
    m_wndPanel->m_plot.RebuildHistograms();
    m_wndPanel->update();
    m_wndCalendar->StoreChanged();
    m_wndStatusBar->setToolTip(
        theStampStore.GetProblems().unreadable.empty()
            ? QString()
            : QStringLiteral("Click the message to list the folders that could not be read."));
    const auto message =
        AnalysisOutcomeMessage(result.outcome, result.load, theStampStore.GetProblems(), SourceLabel(source));
    SetMessageText(message ? TextForWindow(*message) : IdleOrBurstsText());
    RefillFilesWindow(shownFiles);
    RefillBurstsWindow();
}

void CMainFrame::OnFileSavePicture() {
    const QString path = m_dialogs.choosePictureFile(this, QStringLiteral("busyscope.png"));
    if (path.isEmpty())
        return;
    const std::string file = QFile::encodeName(path).toStdString();
    const std::string error =
        m_datesShown ? SavePicture(RenderCalendar(theStampStore,
                                                  {m_wndCalendar->size(), m_wndPanel->m_plot.GetCountRule()}),
                                   file)
                     : SaveGraphPicture(theStampStore, CurrentGraphPicture(), file);
    SetMessageText(error.empty() ? QStringLiteral("Picture saved to %1.").arg(TextForWindow(file))
                                 : TextForWindow(error));
}

GraphPicture CMainFrame::CurrentGraphPicture() const {
    GraphPicture picture;
    picture.size = m_wndPanel->size();
    picture.view = m_viewMode;
    picture.averagingPosition = AveragingPosition();
    picture.xOffset = m_wndPanel->m_plot.m_xOffset;
    picture.yScale = m_wndPanel->m_plot.m_yScale;
    picture.countRule = m_wndPanel->m_plot.GetCountRule();
    picture.chosenRange = m_wndPanel->m_plot.ChosenRange();
    picture.comparedRange = m_wndPanel->m_plot.ComparedRange();
    return picture;
}

void CMainFrame::OnCommand(int id) {
    if (IsAnalysing())
        return;
    const auto handler = m_handlers.find(id);
    if (handler == m_handlers.end()) {
        emit AppCommand(id);
        return;
    }
    handler->second();
    OnUpdateCommandUI();
}

QAction* CMainFrame::CommandAction(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

int CMainFrame::AveragingPosition() const {
    return m_wndAvgBar->m_nAverage;
}

void CMainFrame::RestoreWindowSettings() {
    const std::optional<WindowSettings> remembered = m_settings.Window();
    if (!remembered)
        return;
    m_wndAvgBar->m_slider.setValue(remembered->averagingPosition);
    m_wndAvgBar->RefreshAveraging();
    SetCountRule(remembered->countRule);
    SetViewMode(remembered->view);
    if (remembered->dates)
        ShowDates();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    m_runner.RequestStop();
    m_settings.SetWindow({m_viewMode, AveragingPosition(), m_wndPanel->m_plot.GetCountRule(), m_datesShown});
    QMainWindow::closeEvent(event);
}

void CMainFrame::focusInEvent(QFocusEvent* /*event*/) {
    m_middle->currentWidget()->setFocus();
}
