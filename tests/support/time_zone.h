#pragma once

#include <cstdint>
#include <string>

// Sets TZ for the lifetime of the object and restores the previous value afterwards.
class CScopedTimeZone {
public:
    explicit CScopedTimeZone(const std::string& zone);
    ~CScopedTimeZone();
    CScopedTimeZone(const CScopedTimeZone&) = delete;
    CScopedTimeZone& operator=(const CScopedTimeZone&) = delete;

private:
    bool m_hadZone = false;
    std::string m_previous;
};

// Seconds since 1970 UTC of a local wall-clock time in the current zone (daylight saving
// decided by the zone).
std::int64_t LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// The zones the binning is checked in: UTC, two with one-hour daylight saving in either
// hemisphere's summer, one with a half-hour shift and one at +05:45.
inline const char* const kTestZones[] = {"UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe",
                                         "Asia/Kathmandu"};
