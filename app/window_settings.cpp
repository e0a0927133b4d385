#include "window_settings.h"

#include "analysis_period.h"

#include <QSettings>
#include <QVariant>

namespace {

const QString kView = QStringLiteral("window/view");
const QString kAveraging = QStringLiteral("window/averagingPosition");
const QString kCount = QStringLiteral("window/count");

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
    if (!view || !averaging || !count)
        return std::nullopt;
    return WindowSettings{*view, *averaging, *count};
}

void SaveWindowSettings(QSettings& settings, const WindowSettings& window) {
    settings.setValue(kView, window.view);
    settings.setValue(kAveraging, window.averagingPosition);
    settings.setValue(kCount, QString::fromUtf8(CountRuleName(window.countRule)));
}
