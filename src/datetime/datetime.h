// The date-time value of the file time editor and its calendar fields.
//
// A DateTime is an OLE Automation date: days since 1899-12-30 00:00 as a double, the
// fraction being the time of day (for negative values the time is subtracted). Values are
// built from whole seconds only. Offered to the file time access code (reading and writing
// a file's times), the window actions (the current time) and the text form (datetext.h).
// Pure functions, no allocation, no failure: out-of-range input is clamped, never refused.
#pragma once

#include <cstdint>
#include <optional>

using DateTime = double;

// Local calendar time, each field a signed 32-bit integer.
struct CalendarFields {
    std::int32_t year = 0;
    std::int32_t month = 0;   // 1 = January … 12
    std::int32_t day = 0;     // 1 … MonthLength(year, month)
    std::int32_t hour = 0;    // 0 … 23
    std::int32_t minute = 0;  // 0 … 59
    std::int32_t second = 0;  // 0 … 59
    friend bool operator==(const CalendarFields&, const CalendarFields&) = default;
};

inline constexpr DateTime MinDateTime = -657434.0;   // 100-01-01 00:00:00
inline constexpr DateTime MaxDateTime = 2958465.0;   // 9999-12-31 00:00:00

bool IsLeapYear(std::int32_t year);
// Preconditions: month 1 … 12. Returns: 28 … 31.
std::int32_t MonthLength(std::int32_t year, std::int32_t month);

// Makes any six integers valid: each field is clamped by itself (no carry), the day last,
// against the length of the clamped month. Valid fields are left unchanged.
void ClampCalendarFields(CalendarFields& fields);

// Builds a value from six fields after clamping them. A field left out counts as 1 for
// year, month and day and as 0 for hour, minute and second.
DateTime MakeDateTime(std::optional<std::int32_t> year = {}, std::optional<std::int32_t> month = {},
                      std::optional<std::int32_t> day = {}, std::optional<std::int32_t> hour = {},
                      std::optional<std::int32_t> minute = {}, std::optional<std::int32_t> second = {});
DateTime MakeDateTime(const CalendarFields& fields);

// Returns: value brought into [MinDateTime, MaxDateTime]; NaN and +inf give MaxDateTime.
DateTime ClampDateTimeRange(DateTime value);

struct SplitResult {
    CalendarFields fields;
    std::int32_t dayOfWeek = 0;  // 1 = Sunday … 7 = Saturday
    std::int32_t dayOfYear = 0;  // 1 … 366
};

// Returns: the calendar breakdown of the value clamped into range and taken to the nearest
// whole second (a time that rounds up to 24:00:00 gives the next day).
SplitResult SplitDateTime(DateTime value);

// Parts of a value for GetDateTimePart.
enum DateTimePart : std::int32_t {
    kYear = 1, kQuarter = 2, kMonth = 3, kWeekOfYear = 4, kDay = 5,
    kHour = 6, kMinute = 7, kSecond = 8, kDayOfWeek = 9, kDayOfYear = 10,
};

// Returns: one part of SplitDateTime(value); a selector below 1 counts as 1, above 10 as 10.
std::int32_t GetDateTimePart(DateTime value, std::int32_t part);

// Returns: the local wall-clock time now, the fraction of the second dropped.
DateTime CurrentDateTime();

// The local wall clock as calendar fields, read by CurrentDateTime. Provided per platform:
// the C++ clock and the C library's local zone on POSIX, GetLocalTime on Windows.
CalendarFields ReadLocalWallClock();
