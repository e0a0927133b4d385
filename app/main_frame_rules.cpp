// The main window's leave-out rules: File > Leave Out..., and Leave Out This Folder from the
// Files and Bursts windows; both remember the rules and analyse the folder again.
#include "leave_out_rules.h"
#include "main_frame.h"
#include "window_text.h"

void CMainFrame::OnFileLeaveOut() {
    if (m_dialogs.editLeaveOut)
        if (const std::optional<EntryFilter> rules =
                m_dialogs.editLeaveOut(this, m_leaveOut, RuleFolderOf(m_source)))
            ApplyLeaveOutRules(*rules);
}

void CMainFrame::ApplyLeaveOutRules(const EntryFilter& rules) {
    m_leaveOut = rules;
    m_settings.SetLeaveOutRules(m_leaveOut);
    const auto* folders = m_source ? std::get_if<FolderSource>(&*m_source) : nullptr;
    if (folders && m_dialogs.askYesNo &&
        m_dialogs.askYesNo(this,
                           QStringLiteral("Analyze %1 again now?").arg(TextForWindow(SourceLabel(*folders)))))
        Analyse(*folders);
}

void CMainFrame::LeaveOutFolder(const QString& relativeFolder) {
    // Rules leave out what a walk of folders would read; a history or a list has none.
    const auto* folders = m_source ? std::get_if<FolderSource>(&*m_source) : nullptr;
    if (IsAnalysing() || folders == nullptr)
        return;
    if (folders->folders.size() != 1) {
        SetMessageText(QStringLiteral("A folder can be left out when one folder is analysed."));
        return;
    }
    if (!AddFolderRule(m_leaveOut, RuleFolderOf(m_source), relativeFolder)) {
        SetMessageText(QStringLiteral("The analysed folder itself cannot be left out."));
        return;
    }
    m_settings.SetLeaveOutRules(m_leaveOut);
    Analyse(*folders);
}
