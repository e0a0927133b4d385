#include "window_settings.h"

#include "analysis_period.h"

#include <QSettings>
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

std::optional<WindowSettings> LoadWindowSettings(const QSettings& settings) {
    if (!settings.contains(kView) || !settings.contains(kAveraging) || !settings.contains(kCount))
        return std::nullopt;
    const std::optional<int> view = WholeNumber(settings.value(kView), VIEW_DAY, VIEW_YEAR);
    const std::optional<int> averaging = WholeNumber(settings.value(kAveraging), 0, 100);
    const std::optional<CountRule> count = CountRuleFromName(settings.value(kCount).toString().toStdString());
    // Settings saved before the Dates view was there have no word on it.
    const std::optional<int> dates =
        settings.contains(kDates) ? WholeNumber(settings.value(kDates), 0, 1) : 0;
    if (!view || !averaging || !count || !dates)
        return std::nullopt;
    return WindowSettings{*view, *averaging, *count, *dates == 1};
}

void SaveWindowSettings(QSettings& settings, const WindowSettings& window) {
    settings.setValue(kView, window.view);
    settings.setValue(kAveraging, window.averagingPosition);
    settings.setValue(kCount, QString::fromUtf8(CountRuleName(window.countRule)));
    settings.setValue(kDates, window.dates ? 1 : 0);
}
