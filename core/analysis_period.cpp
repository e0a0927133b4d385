#include "analysis_period.h"

#include "c_locale_format.h"
#include "local_time.h"

#include <array>

namespace {

struct PeriodTraits {
    int bins;
    std::int64_t secondsPerBin;
    std::int64_t firstBinTime; // UTC seconds of bin 0's display time
    const char* timeFormat;
    const char* averagingFormat; // nullptr: whole minutes
    double averagingUnitsPerBin;
};

// 1970-01-04 was a Sunday, so the week view shows its bins from there.
constexpr std::int64_t kFirstSunday = 3 * 86400;

constexpr std::array<PeriodTraits, 4> kPeriods{{
    {kViews[VIEW_DAY].bins, 60, 0, "%I:%M %p", nullptr, 1.0},
    {kViews[VIEW_WEEK].bins, 360, kFirstSunday, "%A %I:%M %p", "%0.1f hours", 0.1},
    {kViews[VIEW_MONTH].bins, 1800, 0, "Day %d, %I:%M %p", "%0.1f hours", 0.5},
    {kViews[VIEW_YEAR].bins, 21600, 0, "%d %B, %I:%M %p", "%0.1f days", 0.25},
}};

const PeriodTraits& TraitsOf(int view) {
    return kPeriods[static_cast<std::size_t>(IsValidView(view) ? view : VIEW_DAY)];
}

} // namespace

bool IsValidView(int view) {
    return view >= VIEW_DAY && view <= VIEW_YEAR;
}

std::string CountOf(std::int64_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string_view ViewName(int view) {
    return kViews[static_cast<std::size_t>(IsValidView(view) ? view : VIEW_DAY)].name;
}

std::optional<int> ViewFromName(std::string_view name) {
    for (std::size_t view = 0; view < kViews.size(); ++view)
        if (kViews[view].name == name)
            return static_cast<int>(view);
    return std::nullopt;
}

std::string_view CountRuleName(CountRule rule) {
    return kCountRules[rule == CountRule::Files ? 0 : 1].name;
}

std::optional<CountRule> CountRuleFromName(std::string_view name) {
    for (const CountRuleFacts& facts : kCountRules)
        if (facts.name == name)
            return facts.rule;
    return std::nullopt;
}

int BinsForView(int view) {
    return TraitsOf(view).bins;
}

std::int64_t BinTime(int view, int bin) {
    const PeriodTraits& period = TraitsOf(view);
    return period.firstBinTime + static_cast<std::int64_t>(bin) * period.secondsPerBin;
}

std::int64_t SecondsPerBin(int view) {
    return TraitsOf(view).secondsPerBin;
}

const char* BinTimeFormat(int view) {
    return TraitsOf(view).timeFormat;
}

std::string FormatBinTime(int view, int bin) {
    return FormatUtc(BinTime(view, bin), BinTimeFormat(view));
}

int AveragingWindow(int trackbarPosition) {
    const int window = 2 * trackbarPosition;
    return window < 1 ? 1 : window;
}

std::optional<std::string> FormatAveragingPeriod(int view, int trackbarPosition) {
    if (!IsValidView(view))
        return std::nullopt;
    return FormatBinSpan(view, AveragingWindow(trackbarPosition));
}

std::string FormatBinSpan(int view, int bins) {
    const PeriodTraits& period = TraitsOf(view);
    // The C library's formatting on purpose: "%0.1f" of 0.25 is "0.2" here (ties go to even).
    if (period.averagingFormat == nullptr)
        return FormatInCLocale("%i minutes", bins);
    return FormatInCLocale(period.averagingFormat, bins * period.averagingUnitsPerBin);
}
