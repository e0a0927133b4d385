// The main window's bursts: the Bursts window, the files of one burst, and what the status bar
// says of the bursts after an analysis.
#include "burst_events.h"
#include "bursts_window.h"
#include "command_ids.h"
#include "files_window.h"
#include "graph_panel.h"
#include "main_frame.h"
#include "stamp_store.h"
#include "string_table.h"

void CMainFrame::ShowBursts() {
    if (IsAnalysing() || theStampStore.m_nFiles == 0)
        return;
    if (!m_burstsWindow) {
        m_burstsWindow = new CBurstsWindow(this);
        connect(m_burstsWindow, &CBurstsWindow::FilesRequested, this, &CMainFrame::ShowFilesWrittenIn);
        connect(m_burstsWindow, &CBurstsWindow::LeaveOutRequested, this, &CMainFrame::LeaveOutFolder);
    }
    m_burstsWindow->ShowBursts(theStampStore, FolderRulesApply());
}

void CMainFrame::RefillBurstsWindow() {
    if (!m_burstsWindow || !m_burstsWindow->isVisible())
        return;
    if (theStampStore.m_nFiles == 0)
        m_burstsWindow->close();
    else
        m_burstsWindow->ShowBursts(theStampStore, FolderRulesApply());
}

// Said once, in place of the idle prompt, so that a message that must be read (a problem, what
// was left out) is never pushed aside by it.
QString CMainFrame::IdleOrBurstsText() const {
    const std::optional<std::string> share =
        BurstShareText(FindBurstEvents(theStampStore, 0), theStampStore.m_nFiles, theStampStore.Kind());
    if (!share)
        return LoadResString(AFX_IDS_IDLEMESSAGE);
    return QString::fromStdString(*share) +
           QStringLiteral(": see View > Count Active Minutes and View > Bursts...");
}
