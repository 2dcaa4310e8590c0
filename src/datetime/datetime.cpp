#include "datetime.h"

#include <algorithm>
#include <cmath>

namespace {

// One second and half a second as parts of a day: the exact doubles that every stored value
// was built and read with, so they are written out rather than left to an expression.
constexpr double kOneSecond = 1.1574074074074073e-05;
constexpr double kHalfSecond = 5.787037037037037e-06;

constexpr std::int32_t kSecondsPerDay = 86400;
// DayCount(1899, 12, 30): the day count of day number 0.
constexpr std::int32_t kDayCountOfDayZero = 693959;
// Shifts a day number so that its remainder by 7 counts from Sunday (1899-12-30 is a Saturday).
constexpr std::int32_t kWeekdayShift = 693958;

// Days of a common year before the 1st of each month.
constexpr std::int32_t kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Preconditions: year >= 0, month 1 … 12, day >= 1.
// Returns: the days from the proleptic start of year 0, counted so that 1899-12-30 is 693959.
std::int32_t DayCount(std::int32_t year, std::int32_t month, std::int32_t day) {
    std::int32_t count = year * 365 + year / 4 - year / 100 + year / 400 + kDaysBeforeMonth[month - 1] + day;
    // The year/4 term already counts this year's 29 February, which January and February lie before.
    if (month <= 2 && IsLeapYear(year)) --count;
    return count;
}

struct CivilDate {
    std::int32_t year;
    std::int32_t month;
    std::int32_t day;
    std::int32_t dayOfYear;
};

// Preconditions: dayCount >= DayCount(0, 3, 1), which is 60.
// Returns: the date whose DayCount is dayCount.
CivilDate DateFromDayCount(std::int32_t dayCount) {
    // Years counted from 1 March end with the leap day, so every cycle below is whole and the
    // months repeat in a five-month pattern. 400 years hold 146097 days; a century 36524, the
    // last of the 400 one more; four years 1461, the last four of the other centuries one fewer.
    // Every count here is at least 0; unsigned division by a constant is the cheaper kind.
    const std::uint32_t days = static_cast<std::uint32_t>(dayCount - 60);
    const std::uint32_t era = days / 146097;
    const std::uint32_t dayOfEra = days % 146097;
    const std::uint32_t century = std::min(dayOfEra / 36524, 3u);
    const std::uint32_t dayOfCentury = dayOfEra - century * 36524;
    const std::uint32_t quad = dayOfCentury / 1461;
    const std::uint32_t dayOfQuad = dayOfCentury % 1461;
    const std::uint32_t yearOfQuad = std::min(dayOfQuad / 365, 3u);
    const auto dayFromMarch = static_cast<std::int32_t>(dayOfQuad - yearOfQuad * 365);  // 0 … 365

    // March to January: 31 30 31 30 31 repeats, so 153 days make five months.
    const std::int32_t monthFromMarch = (5 * dayFromMarch + 2) / 153;  // 0 = March … 11 = February
    const std::int32_t day = dayFromMarch - (153 * monthFromMarch + 2) / 5 + 1;
    const auto yearFromMarch = static_cast<std::int32_t>(era * 400 + century * 100 + quad * 4 + yearOfQuad);

    CivilDate date;
    if (monthFromMarch < 10) {
        date.year = yearFromMarch;
        date.month = monthFromMarch + 3;
        // 59 or 60 days of January and February lie before 1 March.
        date.dayOfYear = dayFromMarch + (IsLeapYear(date.year) ? 61 : 60);
    } else {
        date.year = yearFromMarch + 1;
        date.month = monthFromMarch - 9;
        // 306 days from 1 March to 31 December.
        date.dayOfYear = dayFromMarch - 305;
    }
    date.day = day;
    return date;
}

}  // namespace

bool IsLeapYear(std::int32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::int32_t MonthLength(std::int32_t year, std::int32_t month) {
    constexpr std::int32_t kCommonLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kCommonLength[month - 1];
}

void ClampCalendarFields(CalendarFields& fields) {
    fields.year = std::clamp(fields.year, 100, 9999);
    fields.month = std::clamp(fields.month, 1, 12);
    fields.day = std::clamp(fields.day, 1, 31);
    fields.hour = std::clamp(fields.hour, 0, 23);
    fields.minute = std::clamp(fields.minute, 0, 59);
    fields.second = std::clamp(fields.second, 0, 59);
    // Last, so that the length comes from the clamped year and month.
    fields.day = std::min(fields.day, MonthLength(fields.year, fields.month));
}

DateTime MakeDateTime(std::optional<std::int32_t> year, std::optional<std::int32_t> month,
                      std::optional<std::int32_t> day, std::optional<std::int32_t> hour,
                      std::optional<std::int32_t> minute, std::optional<std::int32_t> second) {
    return MakeDateTime(CalendarFields{year.value_or(1), month.value_or(1), day.value_or(1),
                                       hour.value_or(0), minute.value_or(0), second.value_or(0)});
}

DateTime MakeDateTime(const CalendarFields& fields) {
    CalendarFields valid = fields;
    ClampCalendarFields(valid);
    const std::int32_t dayNumber = DayCount(valid.year, valid.month, valid.day) - kDayCountOfDayZero;
    const double timeFraction = (valid.hour * 3600 + valid.minute * 60 + valid.second) * kOneSecond;
    // Before day 0 the time of day is still counted forward from midnight, so it is subtracted.
    return dayNumber >= 0 ? dayNumber + timeFraction : dayNumber - timeFraction;
}

DateTime ClampDateTimeRange(DateTime value) {
    // Written so that NaN, which fails every comparison, lands on the upper limit.
    if (!(value <= MaxDateTime)) return MaxDateTime;
    if (value < MinDateTime) return MinDateTime;
    return value;
}

SplitResult SplitDateTime(DateTime value) {
    const DateTime inRange = ClampDateTimeRange(value);
    // Growing the magnitude by half a second rounds to the nearest second for values from 0 on;
    // a time that reaches 24:00:00 this way carries into the date on purpose.
    const double rounded = inRange > 0.0 ? inRange + kHalfSecond : inRange - kHalfSecond;
    const auto dayNumber = static_cast<std::int32_t>(rounded);
    const double magnitude = std::fabs(rounded);
    const auto secondsOfDay = static_cast<std::int32_t>((magnitude - std::floor(magnitude)) * kSecondsPerDay);

    const CivilDate date = DateFromDayCount(dayNumber + kDayCountOfDayZero);
    SplitResult result;
    result.fields = {date.year, date.month, date.day, secondsOfDay / 3600, secondsOfDay / 60 % 60, secondsOfDay % 60};
    result.dayOfWeek = (dayNumber + kWeekdayShift) % 7 + 1;
    result.dayOfYear = date.dayOfYear;
    return result;
}

std::int32_t GetDateTimePart(DateTime value, std::int32_t part) {
    const SplitResult split = SplitDateTime(value);
    const CalendarFields& f = split.fields;
    switch (std::clamp(part, static_cast<std::int32_t>(kYear), static_cast<std::int32_t>(kDayOfYear))) {
        case kYear: return f.year;
        case kQuarter: return (f.month - 1) / 3 + 1;
        case kMonth: return f.month;
        // Blocks of seven days from 1 January, whatever their weekdays.
        case kWeekOfYear: return (split.dayOfYear - 1) / 7 + 1;
        case kDay: return f.day;
        case kHour: return f.hour;
        case kMinute: return f.minute;
        case kSecond: return f.second;
        case kDayOfWeek: return split.dayOfWeek;
        default: return split.dayOfYear;
    }
}

DateTime CurrentDateTime() {
    return MakeDateTime(ReadLocalWallClock());
}
