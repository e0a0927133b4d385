#include "app_settings.h"

#include "leave_out_rules.h"
#include "recent_sources.h"

EntryFilter CAppSettings::LeaveOutRules() const {
    return LoadLeaveOutRules(m_settings);
}

void CAppSettings::SetLeaveOutRules(const EntryFilter& rules) {
    SaveLeaveOutRules(m_settings, rules);
}

std::vector<AnalysisSource> CAppSettings::RecentSources() const {
    return LoadRecentSources(m_settings);
}

void CAppSettings::AddRecentSource(const AnalysisSource& source) {
    SaveRecentSources(m_settings, WithRecentSource(RecentSources(), source));
}

std::optional<WindowSettings> CAppSettings::Window() const {
    return LoadWindowSettings(m_settings);
}

void CAppSettings::SetWindow(const WindowSettings& window) {
    SaveWindowSettings(m_settings, window);
}
