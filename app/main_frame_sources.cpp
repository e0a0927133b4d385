// The main window's commands that analyse times from elsewhere than a folder walk: a git
// repository's commits and time lists, and the saving of the current times as a list.
#include "main_frame.h"

#include "checked_output.h"
#include "git_history.h"
#include "graph_panel.h"
#include "scan_progress.h"
#include "scan_report.h"
#include "stamp_store.h"
#include "time_list.h"
#include "window_text.h"

#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
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

QString AskAuthors(QWidget* owner) {
    bool accepted = false;
    const QString text = QInputDialog::getText(
        owner, QStringLiteral("Analyze Git History"),
        QStringLiteral("Authors to keep (part of a name or e-mail, several separated by commas; empty for all):"),
        QLineEdit::Normal, QString(), &accepted);
    return accepted ? text : QString();
}

// The authors typed in the field: separated by commas, spaces around each dropped.
std::vector<std::string> SplitAuthors(const QString& field) {
    std::vector<std::string> authors;
    for (const QString& part : field.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const QString author = part.trimmed(); !author.isEmpty())
            authors.push_back(author.toStdString());
    return authors;
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
    m_askAuthors = AskAuthors;
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
    GitHistoryOptions options;
    options.authors = SplitAuthors(m_askAuthors ? m_askAuthors(this) : QString());
    AnalyseSource(QFile::encodeName(folder).toStdString(), "commits",
                  [&](CStampStore& store, const std::string& path, WalkControl& control) {
                      return LoadGitHistory(path, options, store, &control);
                  });
}

void CMainFrame::OnFileOpenTimeList() {
    const QString file = m_chooseOpenFile ? m_chooseOpenFile(this, QStringLiteral("Open Time List")) : QString();
    if (file.isEmpty())
        return;
    AnalyseSource(QFile::encodeName(file).toStdString(), "times",
                  [](CStampStore& store, const std::string& path, WalkControl& control) {
                      return LoadTimeLists({&path, 1}, store, &control, RecordEnd::Detect).message;
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
