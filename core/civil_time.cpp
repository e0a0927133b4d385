#include "civil_time.h"

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

// Proleptic Gregorian calendar, counted in 400-year eras of 146097 days that start on
// 1 March, so that a leap day is the last day of its year of era.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = FloorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t SecondsFromCivil(std::int64_t year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, month, day) * kSecondsPerDay + 3600 * hour + 60 * minute + second;
}

std::optional<LocalBreakdown> BreakDownUtc(std::int64_t t) {
    constexpr std::int64_t kFarthest = std::int64_t{100'000'000} * 366 * kSecondsPerDay;
    if (t < -kFarthest || t > kFarthest)
        return std::nullopt;
    return BreakDownAtOffset(t, 0);
}

LocalBreakdown BreakDownAtOffset(std::int64_t t, std::int64_t utcOffset) {
    const LocalDayAndTime split = SplitLocalSeconds(t + utcOffset);
    const std::int64_t days = split.days;
    LocalBreakdown fields = split.fields;
    fields.utcOffset = utcOffset;

    const std::int64_t shifted = days + 719468;
    const std::int64_t era = FloorDiv(shifted, 146097);
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153; // 0 = March
    fields.monthDay = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    fields.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    fields.year = yearOfEra + era * 400 + (fields.month <= 2 ? 1 : 0);
    return fields;
}
