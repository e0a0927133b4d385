// The main window's commands that analyse times from elsewhere than a folder walk: a git
// repository's commits and time lists, and the saving of the current times as a list.
#include "main_frame.h"

#include "checked_output.h"
#include "scan_report.h"
#include "stamp_store.h"
#include "time_list.h"
#include "window_text.h"

#include <QFile>
#include <cstring>
#include <sstream>

namespace {

const QString kRepositoryPrompt = QStringLiteral("Select Repository to Analyze:");

// The authors typed in the field: separated by commas, spaces around each dropped.
std::vector<std::string> SplitAuthors(const QString& field) {
    std::vector<std::string> authors;
    for (const QString& part : field.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const QString author = part.trimmed(); !author.isEmpty())
            authors.push_back(author.toStdString());
    return authors;
}

} // namespace

void CMainFrame::OnFileGitHistory() {
    const QString folder =
        m_dialogs.browseForFolder ? m_dialogs.browseForFolder(this, kRepositoryPrompt) : QString();
    if (folder.isEmpty())
        return;
    GitSource git;
    git.repository = QFile::encodeName(folder).toStdString();
    git.options.authors = SplitAuthors(m_dialogs.askAuthors ? m_dialogs.askAuthors(this) : QString());
    Analyse(git);
}

void CMainFrame::OnFileOpenTimeList() {
    const QString file =
        m_dialogs.chooseOpenFile ? m_dialogs.chooseOpenFile(this, QStringLiteral("Open Time List")) : QString();
    if (!file.isEmpty())
        Analyse(TimeListSource{{QFile::encodeName(file).toStdString()}, RecordEnd::Detect});
}

void CMainFrame::OnFileSaveTimeList() {
    const QString file =
        m_dialogs.chooseSaveFile ? m_dialogs.chooseSaveFile(this, QStringLiteral("Save Time List")) : QString();
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
