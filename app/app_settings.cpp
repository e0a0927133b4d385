#include "app_settings.h"

#include "analysis_period.h"
#include "leave_out_rules.h"
#include "recent_sources.h"

#include <QVariant>

namespace {

const QString kView = QStringLiteral("window/view");
const QString kAveraging = QStringLiteral("window/averagingPosition");
const QString kCount = QStringLiteral("window/count");
const QString kDates = QStringLiteral("window/dates");

std::optional<int> WholeNumber(const QVariant& value, int low, int high) {
    bool number = false;
    const int whole = value.toString().toInt(&number);
    if (!number || whole < low || whole > high)
        return std::nullopt;
    return whole;
}

} // namespace

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
    if (!m_settings.contains(kView) || !m_settings.contains(kAveraging) || !m_settings.contains(kCount))
        return std::nullopt;
    const std::optional<int> view = WholeNumber(m_settings.value(kView), VIEW_DAY, VIEW_YEAR);
    const std::optional<int> averaging = WholeNumber(m_settings.value(kAveraging), 0, 100);
    const std::optional<CountRule> count =
        CountRuleFromName(m_settings.value(kCount).toString().toStdString());
    // Settings saved before the Dates view was there have no word on it.
    const std::optional<int> dates =
        m_settings.contains(kDates) ? WholeNumber(m_settings.value(kDates), 0, 1) : 0;
    if (!view || !averaging || !count || !dates)
        return std::nullopt;
    return WindowSettings{*view, *averaging, *count, *dates == 1};
}

void CAppSettings::SetWindow(const WindowSettings& window) {
    m_settings.setValue(kView, window.view);
    m_settings.setValue(kAveraging, window.averagingPosition);
    m_settings.setValue(kCount, QString::fromUtf8(CountRuleName(window.countRule)));
    m_settings.setValue(kDates, window.dates ? 1 : 0);
}
