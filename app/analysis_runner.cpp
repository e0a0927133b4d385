#include "analysis_runner.h"

#include "busy_input_filter.h"
#include "defaults.h"
#include "posix_directory_source.h"
#include "scan_progress.h"
#include "stamp_store.h"
#include "wait_cursor.h"

#include <QWidget>
#include <utility>

SourceLoad LoadRealSource(const AnalysisSource& source, CStampStore& store, WalkControl& control) {
    CPosixDirectorySource directories;
    return LoadSource(source, store, directories, kDefaultJobs, &control);
}

CAnalysisRunner::CAnalysisRunner(QWidget& window, TextFunction showProgress)
    : m_load(LoadRealSource), m_window(window), m_showProgress(std::move(showProgress)) {}

void CAnalysisRunner::RequestStop() {
    if (m_walk)
        m_walk->RequestStop();
}

CAnalysisRunner::Result CAnalysisRunner::Run(const AnalysisSource& source, CStampStore& result) {
    Result outcome;
    CBackgroundWalk walk(
        [&](CStampStore& store, WalkControl& control) { outcome.load = m_load(source, store, control); });
    m_walk = &walk;
    const CWaitCursor wait;
    const CBusyInputFilter ignoreInput(
        m_window, [&walk] { walk.RequestStop(); },
        [this, &walk] {
            walk.RequestStop();
            QMetaObject::invokeMethod(&m_window, &QWidget::close, Qt::QueuedConnection);
        });
    const bool isWalk = std::holds_alternative<FolderSource>(source);
    const char* noun = SourceRecordNoun(source);
    outcome.outcome = walk.Run([&](std::int64_t records, std::int64_t folders) {
        const std::string progress =
            isWalk ? FormatScanProgress(records, folders) : FormatReadProgress(records, noun);
        m_showProgress(QString::fromStdString(progress) + QStringLiteral(" Press Esc to stop."));
    });
    m_walk = nullptr;
    if (outcome.outcome == CBackgroundWalk::Outcome::Complete && outcome.load.stopped)
        outcome.outcome = CBackgroundWalk::Outcome::Stopped;
    if (outcome.outcome == CBackgroundWalk::Outcome::Complete)
        result = std::move(walk.Result());
    return outcome;
}
