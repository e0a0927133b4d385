#pragma once

#include "analysis_source.h"
#include "window_settings.h"

#include <QSettings>
#include <optional>
#include <vector>

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

    std::optional<WindowSettings> Window() const;
    void SetWindow(const WindowSettings& window);

private:
    QSettings m_settings;
};
