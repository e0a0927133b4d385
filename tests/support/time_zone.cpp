#include "time_zone.h"

#include <cstdlib>
#include <ctime>

CScopedTimeZone::CScopedTimeZone(const std::string& zone) {
    if (const char* previous = std::getenv("TZ")) {
        m_hadZone = true;
        m_previous = previous;
    }
    setenv("TZ", zone.c_str(), 1);
    tzset();
}

CScopedTimeZone::~CScopedTimeZone() {
    if (m_hadZone)
        setenv("TZ", m_previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

std::int64_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}
