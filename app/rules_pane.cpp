#include "rules_pane.h"

#include "analysis_period.h"
#include "scan_report.h"
#include "window_text.h"

#include <QMouseEvent>
#include <QStatusBar>

namespace {

// Room on either side of the pane's text together, in pixels, beside the frame, as the lock panes have.
constexpr int kPaneTextMargins = 8;

QString RulesPaneTip(const EntryFilter& inForce, const LeftOutCounts& leftOut, const std::string& label) {
    QStringList lines;
    lines << QString::fromStdString(CountOf(RuleCount(inForce), "rule", "rules")) +
                 QStringLiteral(" in force for %1.").arg(TextForWindow(label));
    const auto leftOutText = LeftOutMessage(leftOut);
    lines << (leftOutText ? QString::fromStdString(*leftOutText) : QStringLiteral("Nothing left out."));
    if (!leftOut.mountPointPaths.empty()) {
        lines << QStringLiteral("Mount points not entered:");
        for (const std::string& path : leftOut.mountPointPaths)
            lines << QStringLiteral("  ") + TextForWindow(path);
        const auto unnamed = leftOut.mountPoints - static_cast<std::int64_t>(leftOut.mountPointPaths.size());
        if (unnamed > 0)
            lines << QStringLiteral("  and %1 more").arg(unnamed);
    }
    lines << QStringLiteral("Click to change the rules (File > Leave Out...).");
    return lines.join(QLatin1Char('\n'));
}

} // namespace

CRulesPane::CRulesPane(QStatusBar& statusBar) : QLabel(&statusBar) {
    setAccessibleName(QStringLiteral("Leave-out rules"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    statusBar.insertPermanentWidget(0, this);
    hide();
}

void CRulesPane::ShowAnalysis(const AnalysisSource& source, const EntryFilter& rules,
                              const SourceLoad& load) {
    const bool folders = std::holds_alternative<FolderSource>(source);
    const EntryFilter inForce = folders ? RulesInForce(rules, load.foldersWalked) : EntryFilter();
    QString text;
    if (const std::int64_t count = RuleCount(inForce); count > 0)
        text = QString::fromStdString(CountOf(count, "rule", "rules"));
    else if (folders && load.leftOut.mountPoints > 0)
        text = QString::fromStdString(CountOf(load.leftOut.mountPoints, "mount point", "mount points"));
    setText(text);
    setMinimumWidth(fontMetrics().horizontalAdvance(text) + kPaneTextMargins);
    setToolTip(text.isEmpty() ? QString() : RulesPaneTip(inForce, load.leftOut, SourceLabel(source)));
    setAccessibleDescription(toolTip());
    setVisible(!text.isEmpty());
}

void CRulesPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit Clicked();
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}
