// The main window's lists of records: the Files window (the files at a point of the curve, or
// those written in a span of time), its refill after an analysis, and the list of the folders
// that could not be read, opened from the status bar's message about them.
#include "files_at_point.h"
#include "files_window.h"
#include "graph_panel.h"
#include "main_frame.h"
#include "scan_report.h"
#include "stamp_store.h"
#include "unreadable_folders_window.h"
#include "window_text.h"

#include <QEvent>
#include <QStatusBar>
#include <utility>

void CMainFrame::ShowFiles(int bin) {
    if (!IsAnalysing())
        ListFiles(SelectFilesAtPoint(theStampStore, m_viewMode, bin, AveragingPosition(),
                                     m_wndPanel->m_plot.GetCountRule(), m_wndPanel->m_plot.ChosenRange()));
}

void CMainFrame::ShowFilesWrittenIn(const FilesAtPoint::WrittenSpan& span) {
    if (!IsAnalysing())
        ListFiles(SelectFilesWrittenIn(theStampStore, span, m_wndPanel->m_plot.GetCountRule()));
}

void CMainFrame::ListFiles(FilesAtPoint files) {
    if (!m_filesWindow) {
        m_filesWindow = new CFilesWindow(this);
        connect(m_filesWindow, &CFilesWindow::LeaveOutRequested, this, &CMainFrame::LeaveOutFolder);
    }
    m_filesWindow->ShowFiles(theStampStore, std::move(files), FolderRulesApply());
}

void CMainFrame::RefillFilesWindow(const std::optional<FilesAtPoint>& shown) {
    if (!shown)
        return;
    if (theStampStore.m_nFiles == 0)
        m_filesWindow->close();
    else
        ListFiles(SelectFilesAgain(theStampStore, *shown, m_wndPanel->m_plot.GetCountRule()));
}

bool CMainFrame::FolderRulesApply() const {
    return m_source && std::holds_alternative<FolderSource>(*m_source);
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
