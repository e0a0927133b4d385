// The main window's commands that analyse times from elsewhere than a folder walk: a git
// repository's commits and time lists, and the saving of the current times as a list.
#include "checked_output.h"
#include "git_history.h"
#include "git_history_dialog.h"
#include "graph_panel.h"
#include "main_frame.h"
#include "scan_progress.h"
#include "scan_report.h"
#include "stamp_store.h"
#include "time_list.h"
#include "window_text.h"

#include <QFile>
#include <QFileDialog>
#include <cstring>
#include <sstream>

namespace {

const QString kRepositoryPrompt = QStringLiteral("Select Repository to Analyze:");
const QString kListFilter = QStringLiteral("Time lists (*.times *.txt);;All files (*)");

// A one-line problem from the core ("cannot read 'x': ...") as a sentence for the status bar.
QString StatusSentence(const std::string& problem) {
    QString text = TextForWindow(problem);
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text + QLatin1Char('.');
}

} // namespace

void CMainFrame::InitSourceDialogs() {
    m_chooseOpenFile = [](QWidget* owner, const QString& caption) {
        return QFileDialog::getOpenFileName(owner, caption, QString(), kListFilter, nullptr,
                                            QFileDialog::DontUseNativeDialog);
    };
    m_chooseSaveFile = [](QWidget* owner, const QString& caption) {
        return QFileDialog::getSaveFileName(owner, caption, QString(), kListFilter, nullptr,
                                            QFileDialog::DontUseNativeDialog);
    };
    m_askGitHistory = [](QWidget* owner, const QString& repository) -> std::optional<GitHistoryOptions> {
        CGitHistoryDialog dialog(QFile::encodeName(repository).toStdString(), owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Options();
    };
}

void CMainFrame::AnalyseSource(const std::string& path, const char* noun, const SourceLoad& load) {
    std::string problem;
    const CBackgroundWalk::Outcome outcome = RunAnalysis(
        [&](CStampStore& store, const std::string& from, WalkControl& control) {
            problem = load(store, from, control);
        },
        path, [noun](std::int64_t records, std::int64_t) { return FormatReadProgress(records, noun); });
    if (outcome != CBackgroundWalk::Outcome::Complete)
        SetMessageText(TextForWindow(*AnalysisOutcomeMessage(outcome, {}, path)));
    else if (!problem.empty())
        SetMessageText(StatusSentence(problem));
}

void CMainFrame::OnFileGitHistory() {
    const QString folder = m_browseForFolder ? m_browseForFolder(this, kRepositoryPrompt) : QString();
    if (folder.isEmpty())
        return;
    const std::optional<GitHistoryOptions> options =
        m_askGitHistory ? m_askGitHistory(this, folder) : GitHistoryOptions();
    if (!options)
        return;
    std::string notice;
    AnalyseSource(QFile::encodeName(folder).toStdString(), "commits",
                  [&](CStampStore& store, const std::string& path, WalkControl& control) {
                      GitHistoryLoad load = LoadGitHistory(path, *options, store, &control);
                      notice = std::move(load.notice);
                      return load.error;
                  });
    if (!notice.empty())
        SetMessageText(StatusSentence(notice));
}

void CMainFrame::OnFileOpenTimeList() {
    const QString file = m_chooseOpenFile ? m_chooseOpenFile(this, QStringLiteral("Open Time List")) : QString();
    if (file.isEmpty())
        return;
    AnalyseSource(QFile::encodeName(file).toStdString(), "times",
                  [](CStampStore& store, const std::string& path, WalkControl& control) {
                      return LoadTimeLists({&path, 1}, store, &control).message;
                  });
}

void CMainFrame::OnFileSaveTimeList() {
    const QString file = m_chooseSaveFile ? m_chooseSaveFile(this, QStringLiteral("Save Time List")) : QString();
    if (file.isEmpty())
        return;
    const std::string path = QFile::encodeName(file).toStdString();
    std::ostringstream list;
    WriteTimeList(list, theStampStore);
    if (const int error = WriteWholeFile(path, list.str()); error != 0)
        SetMessageText(StatusSentence("cannot write '" + path + "': " + std::strerror(error)));
    else
        SetMessageText(StatusSentence("saved " + std::to_string(theStampStore.m_nFiles) + " times to '" + path + "'"));
}
