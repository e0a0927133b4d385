// The main window's commands that analyse times from elsewhere than a folder walk: a git
// repository's commits and time lists, and the saving of the current times as a list.
#include "checked_output.h"
#include "main_frame.h"
#include "scan_report.h"
#include "stamp_store.h"
#include "time_list.h"
#include "window_text.h"

#include <QFile>
#include <cstring>
#include <sstream>

void CMainFrame::OnFileGitHistory() {
    const QString folder = m_dialogs.browseForFolder(this, QStringLiteral("Select Repository to Analyze:"));
    if (folder.isEmpty())
        return;
    if (const std::optional<GitHistoryOptions> options = m_dialogs.askGitHistory(this, folder))
        Analyse(GitSource{QFile::encodeName(folder).toStdString(), *options});
}

void CMainFrame::OnFileOpenTimeList() {
    const QString file = m_dialogs.chooseOpenFile(this, QStringLiteral("Open Time List"));
    if (!file.isEmpty())
        Analyse(TimeListSource{{QFile::encodeName(file).toStdString()}, RecordEnd::Detect});
}

void CMainFrame::OnFileSaveTimeList() {
    const QString file = m_dialogs.chooseSaveFile(this, QStringLiteral("Save Time List"));
    if (file.isEmpty())
        return;
    const std::string path = QFile::encodeName(file).toStdString();
    std::ostringstream list;
    WriteTimeList(list, theStampStore);
    if (const int error = WriteWholeFile(path, list.str()); error != 0)
        SetMessageText(TextForWindow(StatusSentence("cannot write '" + path + "': " + std::strerror(error))));
    else
        SetMessageText(TextForWindow(
            StatusSentence("saved " + std::to_string(theStampStore.m_nFiles) + " times to '" + path + "'")));
}
