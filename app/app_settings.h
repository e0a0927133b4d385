#pragma once

#include "analysis_source.h"
#include "period_histograms.h"

#include <QSettings>
#include <optional>
#include <vector>

// What the window remembers of its view between runs.
struct WindowSettings {
    int view = 0;               // a ViewMode
    int averagingPosition = 50; // 0 to 100
    CountRule countRule = CountRule::Files;
    bool dates = false; // the Dates view was shown rather than the view's graph
    bool operator==(const WindowSettings&) const = default;
};

// What the window remembers between runs (in ~/.config/Busyscope/Busyscope.conf): the
// leave-out rules, the recent sources and the window's view. Every value read is checked, and
// a bad one reads as its default.
class CAppSettings {
public:
    EntryFilter LeaveOutRules() const;
    void SetLeaveOutRules(const EntryFilter& rules);

    std::vector<AnalysisSource> RecentSources() const;
    // Puts source first among the recent ones.
    void AddRecentSource(const AnalysisSource& source);

    // Nothing when no view was saved, or when any of its values is of the wrong kind or out of
    // range (the described defaults then stand).
    std::optional<WindowSettings> Window() const;
    void SetWindow(const WindowSettings& window);

private:
    QSettings m_settings;
};
