#pragma once

#include "period_histograms.h"

#include <optional>

class QSettings;

// What the window remembers between runs besides the leave-out rules and the recent folders.
struct WindowSettings {
    int view = 0;               // a ViewMode
    int averagingPosition = 50; // 0 to 100
    CountRule countRule = CountRule::Files;
    bool dates = false; // the Dates view was shown rather than the view's graph
    bool operator==(const WindowSettings&) const = default;
};

// The remembered settings, checked: nothing when none were saved, or when any value is of the
// wrong kind or out of range (the described defaults then stand).
std::optional<WindowSettings> LoadWindowSettings(const QSettings& settings);
void SaveWindowSettings(QSettings& settings, const WindowSettings& window);
