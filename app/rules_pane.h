#pragma once

#include "analysis_source.h"
#include "entry_filter.h"

#include <QLabel>

class QStatusBar;

// The status-bar pane, left of the lock panes, that stays while rules leave anything out of the
// analysis shown, so that what the first hover replaces in the message stays readable: "3 rules"
// (or, with none, the mount points not entered: "2 mount points"), and as its tooltip what they
// left out, the mount points by name, and what a click does. A click on it opens File > Leave
// Out....
class CRulesPane : public QLabel {
    Q_OBJECT

public:
    explicit CRulesPane(QStatusBar& statusBar);

    // After an analysis of the source with the rules (all there are; those in force for it are
    // picked): shown for folders that rules or other file systems left anything out of.
    void ShowAnalysis(const AnalysisSource& source, const EntryFilter& rules, const SourceLoad& load);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
