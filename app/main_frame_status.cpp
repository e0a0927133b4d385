// What the main window's first status pane says (progress, prompts, the readout, messages),
// and the help commands.
#include "command_ids.h"
#include "main_frame.h"
#include "string_table.h"
#include "user_guide.h"

#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWhatsThis>

QString CMainFrame::MessageText() const {
    return m_wndStatusBar->currentMessage();
}

void CMainFrame::SetMessageText(const QString& text) {
    m_wndStatusBar->showMessage(text);
}

void CMainFrame::OnHelpFinder() {
    const QUrl guide = UserGuideUrl();
    if (guide.isEmpty())
        SetMessageText(QStringLiteral("The user guide is not installed."));
    else if (!m_dialogs.openUrl(guide)) {
        SetMessageText(QStringLiteral("Cannot open %1.").arg(guide.toLocalFile()));
        m_dialogs.showMessage(this, QStringLiteral("No web browser could be started to show the user guide. "
                                                   "Open it in a browser of your choice:\n\n%1")
                                        .arg(guide.toLocalFile()));
    }
}

void CMainFrame::OnContextHelp() {
    QWhatsThis::enterWhatsThisMode();
    SetMessageText(LoadResString(AFX_IDS_HELPMODEMESSAGE));
}

bool CMainFrame::event(QEvent* event) {
    // A prompt replaces pane 0; when it clears, the idle text comes back.
    if (event->type() == QEvent::StatusTip) {
        if (IsAnalysing())
            return true; // pane 0 shows the reading's progress
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
