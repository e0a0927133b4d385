#include "local_time.h"

#include "c_locale_format.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>

std::optional<LocalBreakdown> BreakDownLocal(std::int64_t t) {
    if (t < std::numeric_limits<std::time_t>::min() || t > std::numeric_limits<std::time_t>::max())
        return std::nullopt;
    const std::time_t value = static_cast<std::time_t>(t);
    std::tm fields{};
    if (localtime_r(&value, &fields) == nullptr)
        return std::nullopt;
    LocalBreakdown local;
    local.year = static_cast<std::int64_t>(fields.tm_year) + 1900;
    local.month = fields.tm_mon + 1;
    local.monthDay = fields.tm_mday;
    local.weekDay = fields.tm_wday;
    local.hour = fields.tm_hour;
    local.minute = fields.tm_min;
    local.second = fields.tm_sec;
    local.utcOffset = fields.tm_gmtoff;
    return local;
}

std::string IsoDateTimeText(const LocalBreakdown& fields, char separator) {
    return FormatInCLocale("%04lld-%02d-%02d%c%02d:%02d:%02d", static_cast<long long>(fields.year),
                           fields.month, fields.monthDay, separator, fields.hour, fields.minute,
                           fields.second);
}

namespace {

bool IsYearStart(const std::optional<LocalBreakdown>& local, std::int64_t year) {
    return local && local->year == year && local->month == 1 && local->monthDay == 1 && local->hour == 0 &&
           local->minute == 0 && local->second == 0;
}

// The first second whose local year is not before year, searched within a day of guess.
std::optional<std::int64_t> FirstSecondOfYear(std::int64_t year, std::int64_t guess) {
    const std::int64_t before = guess - 86400;
    const std::int64_t after = guess + 86400;
    const std::optional<LocalBreakdown> low = BreakDownLocal(before);
    const std::optional<LocalBreakdown> high = BreakDownLocal(after);
    if (!low || !high || low->year >= year || high->year < year)
        return std::nullopt;
    return FirstSecondReached(before, after, [year](std::int64_t t) -> std::optional<bool> {
        const std::optional<LocalBreakdown> local = BreakDownLocal(t);
        if (!local)
            return std::nullopt;
        return local->year >= year;
    });
}

} // namespace

std::optional<std::int64_t> LocalYearStart(std::int64_t year) {
    const std::int64_t yearsSince1900 = year - 1900;
    if (yearsSince1900 < std::numeric_limits<int>::min() || yearsSince1900 > std::numeric_limits<int>::max())
        return std::nullopt;
    std::tm fields{};
    fields.tm_year = static_cast<int>(yearsSince1900);
    fields.tm_mon = 0;
    fields.tm_mday = 1;
    fields.tm_isdst = -1;
    fields.tm_yday = -1; // mktime fills it in only on success
    const std::time_t start = std::mktime(&fields);
    if (start == static_cast<std::time_t>(-1) && fields.tm_yday == -1)
        return std::nullopt;
    // Where the zone skips local midnight at New Year, mktime's answer depends on its
    // earlier calls; the year then starts at the first second that belongs to it.
    if (!IsYearStart(BreakDownLocal(start), year))
        return FirstSecondOfYear(year, start);
    return static_cast<std::int64_t>(start);
}

std::string FormatUtc(std::int64_t t, const char* format) {
    const std::time_t value = static_cast<std::time_t>(t);
    std::tm fields{};
    if (gmtime_r(&value, &fields) == nullptr)
        return {};
    return FormatTimeInCLocale(format, fields);
}

std::string LocalZoneName() {
    if (const char* tz = std::getenv("TZ"); tz != nullptr && *tz != '\0')
        return tz[0] == ':' ? std::string(tz + 1) : std::string(tz);
    std::error_code error;
    const std::string target = std::filesystem::read_symlink("/etc/localtime", error).string();
    constexpr std::string_view kZoneInfo = "zoneinfo/";
    if (const std::size_t at = target.rfind(kZoneInfo); !error && at != std::string::npos)
        return target.substr(at + kZoneInfo.size());
    std::ifstream zoneFile("/etc/timezone");
    std::string name;
    if (std::getline(zoneFile, name) && !name.empty())
        return name;
    return "UTC";
}
