// The date-time value and its calendar fields: anchor values, clamping, parts, the round trip
// over the whole range, and the current time.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "datetime.h"
#include "test_helpers.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

// ---- Anchor values: each builds to exactly this double and reads back as the same fields.

struct AnchorRow {
    int line;
    CalendarFields fields;
    double value;
};

constexpr AnchorRow kAnchors[] = {
    {__LINE__, {100, 1, 1, 0, 0, 0}, -657434.0},
    {__LINE__, {1601, 1, 1, 0, 0, 0}, -109205.0},
    {__LINE__, {1899, 12, 29, 6, 0, 0}, -1.25},
    {__LINE__, {1899, 12, 29, 18, 0, 0}, -1.75},
    {__LINE__, {1899, 12, 30, 0, 0, 0}, 0.0},
    {__LINE__, {1899, 12, 30, 12, 0, 0}, 0.5},
    {__LINE__, {1900, 1, 1, 0, 0, 0}, 2.0},
    {__LINE__, {1900, 2, 28, 0, 0, 0}, 60.0},
    {__LINE__, {1900, 3, 1, 0, 0, 0}, 61.0},
    {__LINE__, {1970, 1, 1, 0, 0, 0}, 25569.0},
    {__LINE__, {2000, 1, 1, 0, 0, 0}, 36526.0},
    {__LINE__, {2000, 2, 29, 0, 0, 0}, 36585.0},
    {__LINE__, {2013, 1, 1, 0, 0, 0}, 41275.0},
    {__LINE__, {2013, 9, 5, 14, 6, 5}, 41522.58755787037},
    {__LINE__, {2013, 12, 31, 23, 59, 59}, 41639.99998842592},
    {__LINE__, {9999, 12, 31, 0, 0, 0}, 2958465.0},
};

TEST(DateTimeAnchors, BuildToTheExactValue) {
    for (const AnchorRow& row : kAnchors) {
        SCOPED_TRACE(row.line);
        EXPECT_SAME_DOUBLE(MakeDateTime(row.fields), row.value);
    }
}

TEST(DateTimeAnchors, ReadBackAsTheirFields) {
    for (const AnchorRow& row : kAnchors) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(SplitDateTime(row.value).fields, row.fields);
    }
}

TEST(DateTimeAnchors, LimitsAreTheMidnightsOfTheFirstAndLastDay) {
    EXPECT_SAME_DOUBLE(MinDateTime, MakeDateTime(100, 1, 1));
    EXPECT_SAME_DOUBLE(MaxDateTime, MakeDateTime(9999, 12, 31));
}

// ---- A time on the first or the last day builds beyond the limit and reads as that midnight.

struct BoundaryRow {
    int line;
    CalendarFields fields;
    double value;
    CalendarFields readsAs;
};

constexpr BoundaryRow kBoundaryDayTimes[] = {
    {__LINE__, {100, 1, 1, 0, 0, 1}, -657434.0000115741, {100, 1, 1, 0, 0, 0}},
    {__LINE__, {100, 1, 1, 12, 0, 0}, -657434.5, {100, 1, 1, 0, 0, 0}},
    {__LINE__, {100, 1, 1, 23, 59, 59}, -657434.9999884259, {100, 1, 1, 0, 0, 0}},
    {__LINE__, {9999, 12, 31, 0, 0, 1}, 2958465.000011574, {9999, 12, 31, 0, 0, 0}},
    {__LINE__, {9999, 12, 31, 12, 0, 0}, 2958465.5, {9999, 12, 31, 0, 0, 0}},
    {__LINE__, {9999, 12, 31, 23, 59, 59}, 2958465.999988426, {9999, 12, 31, 0, 0, 0}},
};

TEST(DateTimeBoundaryDays, TimesBuildBeyondTheLimitAndReadAsMidnight) {
    for (const BoundaryRow& row : kBoundaryDayTimes) {
        SCOPED_TRACE(row.line);
        const DateTime value = MakeDateTime(row.fields);
        EXPECT_SAME_DOUBLE(value, row.value);
        EXPECT_EQ(SplitDateTime(value).fields, row.readsAs);
    }
}

// ---- Calendar rules.

TEST(CalendarRules, LeapYears) {
    struct Row {
        int line;
        std::int32_t year;
        bool leap;
    };
    constexpr Row kRows[] = {
        {__LINE__, 100, false},  {__LINE__, 104, true},   {__LINE__, 400, true},   {__LINE__, 1600, true},
        {__LINE__, 1900, false}, {__LINE__, 2000, true},  {__LINE__, 2012, true},  {__LINE__, 2013, false},
        {__LINE__, 2100, false}, {__LINE__, 2400, true},  {__LINE__, 9996, true},  {__LINE__, 9999, false},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(IsLeapYear(row.year), row.leap) << row.year;
    }
}

TEST(CalendarRules, MonthLengths) {
    struct Row {
        int line;
        std::int32_t year;
        std::int32_t month;
        std::int32_t length;
    };
    constexpr Row kRows[] = {
        {__LINE__, 2013, 1, 31}, {__LINE__, 2013, 2, 28}, {__LINE__, 2013, 3, 31},  {__LINE__, 2013, 4, 30},
        {__LINE__, 2013, 5, 31}, {__LINE__, 2013, 6, 30}, {__LINE__, 2013, 7, 31},  {__LINE__, 2013, 8, 31},
        {__LINE__, 2013, 9, 30}, {__LINE__, 2013, 10, 31}, {__LINE__, 2013, 11, 30}, {__LINE__, 2013, 12, 31},
        {__LINE__, 2012, 2, 29}, {__LINE__, 2000, 2, 29}, {__LINE__, 1900, 2, 28},  {__LINE__, 100, 2, 28},
        {__LINE__, 2012, 3, 31}, {__LINE__, 2012, 1, 31},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(MonthLength(row.year, row.month), row.length);
    }
}

// ---- Clamping: each field by itself, no carry, the day last against the clamped month.

struct ClampRow {
    int line;
    CalendarFields given;
    CalendarFields clamped;
    std::optional<double> value;  // where the value itself is a known anchor
};

const ClampRow kClampRows[] = {
    {__LINE__, {2013, 9, 5, 14, 6, 5}, {2013, 9, 5, 14, 6, 5}, 41522.58755787037},
    {__LINE__, {2000, 2, 29, 0, 0, 0}, {2000, 2, 29, 0, 0, 0}, 36585.0},
    {__LINE__, {2012, 2, 29, 0, 0, 0}, {2012, 2, 29, 0, 0, 0}, {}},
    {__LINE__, {1600, 2, 29, 0, 0, 0}, {1600, 2, 29, 0, 0, 0}, {}},
    {__LINE__, {1900, 2, 29, 0, 0, 0}, {1900, 2, 28, 0, 0, 0}, 60.0},
    {__LINE__, {2013, 2, 29, 0, 0, 0}, {2013, 2, 28, 0, 0, 0}, {}},
    {__LINE__, {2100, 2, 29, 0, 0, 0}, {2100, 2, 28, 0, 0, 0}, {}},
    {__LINE__, {100, 2, 29, 0, 0, 0}, {100, 2, 28, 0, 0, 0}, {}},
    {__LINE__, {2013, 4, 31, 0, 0, 0}, {2013, 4, 30, 0, 0, 0}, {}},
    {__LINE__, {2013, 6, 31, 0, 0, 0}, {2013, 6, 30, 0, 0, 0}, {}},
    {__LINE__, {2013, 9, 31, 0, 0, 0}, {2013, 9, 30, 0, 0, 0}, {}},
    {__LINE__, {2013, 11, 31, 0, 0, 0}, {2013, 11, 30, 0, 0, 0}, {}},
    {__LINE__, {2013, 1, 32, 0, 0, 0}, {2013, 1, 31, 0, 0, 0}, {}},
    {__LINE__, {2013, 2, 32, 0, 0, 0}, {2013, 2, 28, 0, 0, 0}, {}},
    {__LINE__, {2012, 2, 32, 0, 0, 0}, {2012, 2, 29, 0, 0, 0}, {}},
    {__LINE__, {2013, 9, 0, 0, 0, 0}, {2013, 9, 1, 0, 0, 0}, {}},
    {__LINE__, {2013, 9, -7, 0, 0, 0}, {2013, 9, 1, 0, 0, 0}, {}},
    {__LINE__, {99, 1, 1, 0, 0, 0}, {100, 1, 1, 0, 0, 0}, -657434.0},
    {__LINE__, {0, 1, 1, 0, 0, 0}, {100, 1, 1, 0, 0, 0}, -657434.0},
    {__LINE__, {-5, 1, 1, 0, 0, 0}, {100, 1, 1, 0, 0, 0}, -657434.0},
    {__LINE__, {10000, 1, 1, 0, 0, 0}, {9999, 1, 1, 0, 0, 0}, {}},
    {__LINE__, {10000, 2, 29, 0, 0, 0}, {9999, 2, 28, 0, 0, 0}, {}},
    {__LINE__, {2013, 0, 1, 0, 0, 0}, {2013, 1, 1, 0, 0, 0}, 41275.0},
    {__LINE__, {2013, 13, 1, 0, 0, 0}, {2013, 12, 1, 0, 0, 0}, {}},
    // The month is clamped before the day is measured against it.
    {__LINE__, {2013, 14, 31, 0, 0, 0}, {2013, 12, 31, 0, 0, 0}, {}},
    {__LINE__, {2012, -1, 31, 0, 0, 0}, {2012, 1, 31, 0, 0, 0}, {}},
    {__LINE__, {2013, 9, 5, 24, 0, 0}, {2013, 9, 5, 23, 0, 0}, {}},
    {__LINE__, {2013, 9, 5, -1, 0, 0}, {2013, 9, 5, 0, 0, 0}, {}},
    {__LINE__, {2013, 9, 5, 14, 60, 0}, {2013, 9, 5, 14, 59, 0}, {}},
    {__LINE__, {2013, 9, 5, 14, -1, 0}, {2013, 9, 5, 14, 0, 0}, {}},
    {__LINE__, {2013, 9, 5, 14, 6, 60}, {2013, 9, 5, 14, 6, 59}, {}},
    {__LINE__, {2013, 9, 5, 14, 6, -1}, {2013, 9, 5, 14, 6, 0}, {}},
    // Second 60 at the end of the year stays in the old year.
    {__LINE__, {2013, 12, 31, 23, 59, 60}, {2013, 12, 31, 23, 59, 59}, 41639.99998842592},
    {__LINE__, {kIntMax, kIntMax, kIntMax, kIntMax, kIntMax, kIntMax}, {9999, 12, 31, 23, 59, 59}, 2958465.999988426},
    {__LINE__, {kIntMin, kIntMin, kIntMin, kIntMin, kIntMin, kIntMin}, {100, 1, 1, 0, 0, 0}, -657434.0},
};

TEST(ClampCalendarFields, ClampsEachFieldWithoutCarry) {
    for (const ClampRow& row : kClampRows) {
        SCOPED_TRACE(row.line);
        CalendarFields fields = row.given;
        ClampCalendarFields(fields);
        EXPECT_EQ(fields, row.clamped);
    }
}

TEST(MakeDateTime, ClampsTheFieldsBeforeBuilding) {
    for (const ClampRow& row : kClampRows) {
        SCOPED_TRACE(row.line);
        const DateTime value = MakeDateTime(row.given);
        EXPECT_SAME_DOUBLE(value, MakeDateTime(row.clamped));
        if (row.value) {
            EXPECT_SAME_DOUBLE(value, *row.value);
        }
    }
}

TEST(MakeDateTime, OmittedFieldsCountAsTheStartOfTheirRange) {
    struct Row {
        int line;
        DateTime made;
        DateTime expected;
    };
    const Row kRows[] = {
        {__LINE__, MakeDateTime(), -657434.0},
        {__LINE__, MakeDateTime(2013), 41275.0},
        {__LINE__, MakeDateTime(2013, 9), MakeDateTime(CalendarFields{2013, 9, 1, 0, 0, 0})},
        {__LINE__, MakeDateTime(2013, 9, 5), MakeDateTime(CalendarFields{2013, 9, 5, 0, 0, 0})},
        {__LINE__, MakeDateTime(2013, 9, 5, 14), MakeDateTime(CalendarFields{2013, 9, 5, 14, 0, 0})},
        {__LINE__, MakeDateTime(2013, 9, 5, 14, 6), MakeDateTime(CalendarFields{2013, 9, 5, 14, 6, 0})},
        {__LINE__, MakeDateTime(2013, 9, 5, 14, 6, 5), 41522.58755787037},
        {__LINE__, MakeDateTime({}, 9, 5), MakeDateTime(CalendarFields{100, 9, 5, 0, 0, 0})},
        {__LINE__, MakeDateTime(2013, {}, {}, 14), MakeDateTime(CalendarFields{2013, 1, 1, 14, 0, 0})},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_SAME_DOUBLE(row.made, row.expected);
    }
}

// ---- The readable range.

TEST(ClampDateTimeRange, BringsEveryDoubleIntoTheRange) {
    struct Row {
        int line;
        double value;
        double clamped;
    };
    const Row kRows[] = {
        {__LINE__, kNaN, MaxDateTime},
        {__LINE__, -kNaN, MaxDateTime},
        {__LINE__, kInf, MaxDateTime},
        {__LINE__, 1e300, MaxDateTime},
        {__LINE__, 2958465.999988426, MaxDateTime},
        {__LINE__, std::nextafter(MaxDateTime, kInf), MaxDateTime},
        {__LINE__, MaxDateTime, MaxDateTime},
        {__LINE__, std::nextafter(MaxDateTime, 0.0), std::nextafter(MaxDateTime, 0.0)},
        {__LINE__, 41522.58755787037, 41522.58755787037},
        {__LINE__, 0.0, 0.0},
        {__LINE__, -0.0, -0.0},
        {__LINE__, -1.25, -1.25},
        {__LINE__, std::nextafter(MinDateTime, 0.0), std::nextafter(MinDateTime, 0.0)},
        {__LINE__, MinDateTime, MinDateTime},
        {__LINE__, std::nextafter(MinDateTime, -kInf), MinDateTime},
        {__LINE__, -657434.5, MinDateTime},
        {__LINE__, -1e300, MinDateTime},
        {__LINE__, -kInf, MinDateTime},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_SAME_DOUBLE(ClampDateTimeRange(row.value), row.clamped);
    }
}

// ---- Parts of a value: all ten selectors per row.

struct PartsRow {
    int line;
    double value;
    // year, quarter, month, week of the year, day, hour, minute, second, day of the week, day of the year
    std::int32_t parts[10];
};

constexpr double k49Hundredths = 0.49 / 86400;
constexpr double k51Hundredths = 0.51 / 86400;
constexpr double k60Hundredths = 0.6 / 86400;

const PartsRow kPartsRows[] = {
    {__LINE__, -657434.0, {100, 1, 1, 1, 1, 0, 0, 0, 6, 1}},
    {__LINE__, 2958465.0, {9999, 4, 12, 53, 31, 0, 0, 0, 6, 365}},
    {__LINE__, 41522.58755787037, {2013, 3, 9, 36, 5, 14, 6, 5, 5, 248}},
    {__LINE__, -1.25, {1899, 4, 12, 52, 29, 6, 0, 0, 6, 363}},
    {__LINE__, -1.75, {1899, 4, 12, 52, 29, 18, 0, 0, 6, 363}},
    {__LINE__, -109205.0, {1601, 1, 1, 1, 1, 0, 0, 0, 2, 1}},
    {__LINE__, 0.0, {1899, 4, 12, 52, 30, 0, 0, 0, 7, 364}},
    {__LINE__, -0.0, {1899, 4, 12, 52, 30, 0, 0, 0, 7, 364}},
    {__LINE__, 0.5, {1899, 4, 12, 52, 30, 12, 0, 0, 7, 364}},
    {__LINE__, -0.5, {1899, 4, 12, 52, 30, 12, 0, 0, 7, 364}},
    {__LINE__, 36891.0, {2000, 4, 12, 53, 31, 0, 0, 0, 1, 366}},
    {__LINE__, 36585.0, {2000, 1, 2, 9, 29, 0, 0, 0, 3, 60}},
    // Rounding to the nearest second, and across midnight into the next day.
    {__LINE__, 41522.58755787037 + k49Hundredths, {2013, 3, 9, 36, 5, 14, 6, 5, 5, 248}},
    {__LINE__, 41522.58755787037 + k51Hundredths, {2013, 3, 9, 36, 5, 14, 6, 6, 5, 248}},
    {__LINE__, MakeDateTime(2013, 9, 5, 23, 59, 59) + k60Hundredths, {2013, 3, 9, 36, 6, 0, 0, 0, 6, 249}},
    {__LINE__, MakeDateTime(2013, 12, 31, 23, 59, 59) + k60Hundredths, {2014, 1, 1, 1, 1, 0, 0, 0, 4, 1}},
    // Times on the boundary days and values out of range read as the nearer limit.
    {__LINE__, -657434.5, {100, 1, 1, 1, 1, 0, 0, 0, 6, 1}},
    {__LINE__, 2958465.999988426, {9999, 4, 12, 53, 31, 0, 0, 0, 6, 365}},
    {__LINE__, kNaN, {9999, 4, 12, 53, 31, 0, 0, 0, 6, 365}},
    {__LINE__, kInf, {9999, 4, 12, 53, 31, 0, 0, 0, 6, 365}},
    {__LINE__, 1e300, {9999, 4, 12, 53, 31, 0, 0, 0, 6, 365}},
    {__LINE__, -kInf, {100, 1, 1, 1, 1, 0, 0, 0, 6, 1}},
    {__LINE__, -1e300, {100, 1, 1, 1, 1, 0, 0, 0, 6, 1}},
};

TEST(GetDateTimePart, GivesEachPartOfTheRoundedValue) {
    for (const PartsRow& row : kPartsRows) {
        SCOPED_TRACE(row.line);
        for (std::int32_t part = kYear; part <= kDayOfYear; ++part) {
            EXPECT_EQ(GetDateTimePart(row.value, part), row.parts[part - 1]) << "part " << part;
        }
    }
}

TEST(SplitDateTime, AgreesWithTheParts) {
    for (const PartsRow& row : kPartsRows) {
        SCOPED_TRACE(row.line);
        const SplitResult split = SplitDateTime(row.value);
        const std::int32_t* p = row.parts;
        EXPECT_EQ(split.fields, (CalendarFields{p[0], p[2], p[4], p[5], p[6], p[7]}));
        EXPECT_EQ(split.dayOfWeek, p[8]);
        EXPECT_EQ(split.dayOfYear, p[9]);
    }
}

TEST(GetDateTimePart, SelectorsOutsideOneToTenAreClamped) {
    struct Row {
        int line;
        std::int32_t part;
        std::int32_t result;
    };
    // 2013-09-05 14:06:05: year 2013, day of the year 248.
    constexpr Row kRows[] = {
        {__LINE__, 0, 2013},   {__LINE__, -5, 2013},  {__LINE__, kIntMin, 2013},
        {__LINE__, 11, 248},   {__LINE__, 100, 248},  {__LINE__, kIntMax, 248},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(GetDateTimePart(41522.58755787037, row.part), row.result);
    }
}

// ---- The whole range, checked against the standard library's civil calendar.

using std::chrono::sys_days;
using std::chrono::year_month_day;

CalendarFields FieldsOf(const year_month_day& date, std::int32_t hour, std::int32_t minute, std::int32_t second) {
    return {static_cast<std::int32_t>(int(date.year())), static_cast<std::int32_t>(unsigned(date.month())),
            static_cast<std::int32_t>(unsigned(date.day())), hour, minute, second};
}

const sys_days kDayZero{std::chrono::year{1899} / std::chrono::December / 30};

// Stops a loop over millions of cases after a handful of reported failures.
class FailureBudget {
public:
    bool Exhausted() const { return failures_ >= 10; }
    void Spend() { ++failures_; }

private:
    int failures_ = 0;
};

TEST(DateTimeRoundTrip, EveryDayOfTheRangeAtFourTimes) {
    struct TimeOfDay {
        std::int32_t hour, minute, second;
    };
    constexpr TimeOfDay kTimes[] = {{0, 0, 0}, {0, 0, 1}, {12, 0, 0}, {23, 59, 59}};
    const sys_days first{std::chrono::year{100} / std::chrono::January / 2};
    const sys_days last{std::chrono::year{9999} / std::chrono::December / 30};

    FailureBudget budget;
    DateTime previousMidnight = MakeDateTime(100, 1, 1);
    std::int32_t previousDayOfWeek = SplitDateTime(previousMidnight).dayOfWeek;
    long long days = 0;
    for (sys_days day = first; day <= last && !budget.Exhausted(); day += std::chrono::days{1}, ++days) {
        const year_month_day date{day};
        const double dayNumber = static_cast<double>((day - kDayZero).count());
        const std::int32_t dayOfYear =
            static_cast<std::int32_t>((day - sys_days{date.year() / std::chrono::January / 1}).count()) + 1;
        const std::int32_t dayOfWeek = static_cast<std::int32_t>(std::chrono::weekday{day}.c_encoding()) + 1;

        const DateTime midnight = MakeDateTime(FieldsOf(date, 0, 0, 0));
        if (Bits(midnight) != Bits(dayNumber) || midnight != previousMidnight + 1.0 ||
            dayOfWeek != previousDayOfWeek % 7 + 1) {
            ADD_FAILURE() << "day " << dayNumber << " built as " << midnight << " after " << previousMidnight;
            budget.Spend();
        }
        previousMidnight = midnight;
        previousDayOfWeek = dayOfWeek;

        for (const TimeOfDay& time : kTimes) {
            const CalendarFields fields = FieldsOf(date, time.hour, time.minute, time.second);
            const SplitResult split = SplitDateTime(MakeDateTime(fields));
            if (split.fields != fields || split.dayOfYear != dayOfYear || split.dayOfWeek != dayOfWeek) {
                ADD_FAILURE() << testing::PrintToString(fields) << " read back as "
                              << testing::PrintToString(split.fields) << ", day of the year " << split.dayOfYear
                              << " (want " << dayOfYear << "), day of the week " << split.dayOfWeek << " (want "
                              << dayOfWeek << ")";
                budget.Spend();
            }
        }
    }
    EXPECT_EQ(days, 3615898);  // 100-01-02 to 9999-12-30, both included
}

TEST(DateTimeRoundTrip, EverySecondOfDaysAroundDayZeroAndTheLimits) {
    using namespace std::chrono;
    const year_month_day kDays[] = {
        year{100} / January / 2,  year{1899} / December / 29, year{1899} / December / 30,
        year{1899} / December / 31, year{2000} / February / 29, year{9999} / December / 30,
    };
    FailureBudget budget;
    for (const year_month_day& date : kDays) {
        for (std::int32_t second = 0; second < 86400 && !budget.Exhausted(); ++second) {
            const CalendarFields fields = FieldsOf(date, second / 3600, second / 60 % 60, second % 60);
            const CalendarFields back = SplitDateTime(MakeDateTime(fields)).fields;
            if (back != fields) {
                ADD_FAILURE() << testing::PrintToString(fields) << " read back as " << testing::PrintToString(back);
                budget.Spend();
            }
        }
    }
}

// ---- The current time.

CalendarFields LocalFields(std::time_t seconds) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::time_t WholeSecondsNow() {
    using namespace std::chrono;
    return system_clock::to_time_t(floor<seconds>(system_clock::now()));
}

TEST(CurrentDateTime, AgreesWithTheSystemClockToTheSecond) {
    const std::time_t before = WholeSecondsNow();
    const DateTime now = CurrentDateTime();
    const std::time_t after = WholeSecondsNow();
    // The second may tick between the reads: the value must be one of the seconds seen.
    bool seen = false;
    for (std::time_t second = before; second <= after; ++second) {
        seen = seen || Bits(now) == Bits(MakeDateTime(LocalFields(second)));
    }
    EXPECT_TRUE(seen) << now << " is not local time between " << testing::PrintToString(LocalFields(before))
                      << " and " << testing::PrintToString(LocalFields(after));
}

}  // namespace
