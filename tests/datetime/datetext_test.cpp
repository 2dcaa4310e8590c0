// The text form of a date-time: formatting, parsing, full-width normalisation, round trips and
// hostile input. Texts are compared as GBK bytes.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "datetext.h"
#include "test_helpers.h"

// The tables below are written in Chinese and must reach the code as GBK bytes.
static_assert(std::string_view("年月日时分秒") == "\xC4\xEA\xD4\xC2\xC8\xD5\xCA\xB1\xB7\xD6\xC3\xEB",
              "test texts must be compiled to GBK (-fexec-charset=GBK)");
static_assert(std::string_view("２０－：／．　") == "\xA3\xB2\xA3\xB0\xA3\xAD\xA3\xBA\xA3\xAF\xA3\xAE\xA1\xA1",
              "full-width test texts must be compiled to GBK (-fexec-charset=GBK)");

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Shows a GBK text in failure messages as hex bytes, which read the same in every terminal.
std::string Hex(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
        hex += ' ';
    }
    return hex;
}

#define EXPECT_SAME_TEXT(actual, expected) \
    EXPECT_EQ(std::string_view(actual), std::string_view(expected)) << Hex(actual) << "vs " << Hex(expected)

TEST(DateTimeParseFailure, IsTheFirstMomentOfTheRange) {
    EXPECT_EQ(Bits(DateTimeParseFailure), 0xC124103400000000u);
    EXPECT_SAME_DOUBLE(DateTimeParseFailure, MakeDateTime(100, 1, 1));
}

// ---- Formatting.

TEST(DateTimeToText, WritesTheDateAndAsMuchOfTheTimeAsNeeded) {
    struct Row {
        int line;
        CalendarFields fields;
        const char* text;
    };
    constexpr Row kRows[] = {
        {__LINE__, {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
        {__LINE__, {2013, 9, 5, 14, 6, 0}, "2013年9月5日14时6分"},
        {__LINE__, {2013, 9, 5, 14, 0, 0}, "2013年9月5日14时"},
        {__LINE__, {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
        {__LINE__, {2013, 9, 5, 0, 6, 0}, "2013年9月5日0时6分"},
        {__LINE__, {2013, 9, 5, 0, 0, 5}, "2013年9月5日0时0分5秒"},
        {__LINE__, {2013, 9, 5, 14, 0, 5}, "2013年9月5日14时0分5秒"},
        {__LINE__, {100, 1, 1, 0, 0, 0}, "100年1月1日"},  // the shortest text, 11 bytes
        {__LINE__, {2013, 12, 31, 23, 59, 59}, "2013年12月31日23时59分59秒"},  // the longest, 26 bytes
        {__LINE__, {9999, 12, 31, 0, 0, 0}, "9999年12月31日"},
        {__LINE__, {1899, 12, 29, 6, 0, 0}, "1899年12月29日6时"},
        {__LINE__, {1000, 10, 10, 10, 10, 10}, "1000年10月10日10时10分10秒"},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_SAME_TEXT(DateTimeToText(MakeDateTime(row.fields)), row.text);
    }
}

TEST(DateTimeToText, ShowsTheValueInRangeAndToTheNearestSecond) {
    struct Row {
        int line;
        double value;
        const char* text;
    };
    const Row kRows[] = {
        {__LINE__, 0.0, "1899年12月30日"},
        {__LINE__, -0.0, "1899年12月30日"},
        {__LINE__, 0.5, "1899年12月30日12时"},
        {__LINE__, -0.5, "1899年12月30日12时"},
        {__LINE__, -1.75, "1899年12月29日18时"},
        {__LINE__, 41522.58755787037 + 0.49 / 86400, "2013年9月5日14时6分5秒"},
        {__LINE__, 41522.58755787037 + 0.51 / 86400, "2013年9月5日14时6分6秒"},
        {__LINE__, MakeDateTime(2013, 9, 5, 23, 59, 59) + 0.6 / 86400, "2013年9月6日"},
        {__LINE__, kNaN, "9999年12月31日"},
        {__LINE__, kInf, "9999年12月31日"},
        {__LINE__, 1e300, "9999年12月31日"},
        {__LINE__, std::nextafter(MaxDateTime, kInf), "9999年12月31日"},
        {__LINE__, 2958465.999988426, "9999年12月31日"},
        {__LINE__, -kInf, "100年1月1日"},
        {__LINE__, -1e300, "100年1月1日"},
        {__LINE__, std::nextafter(MinDateTime, -kInf), "100年1月1日"},
        {__LINE__, -657434.9999884259, "100年1月1日"},
        {__LINE__, DateTimeParseFailure, "100年1月1日"},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_SAME_TEXT(DateTimeToText(row.value), row.text);
    }
}

// ---- Parsing.

struct AcceptedRow {
    int line;
    const char* text;
    CalendarFields fields;
    const char* fixedForm;  // what formatting the parsed value shows
};

const AcceptedRow kAcceptedRows[] = {
    {__LINE__, "2013年9月5日14时6分5秒", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "2013年9月5日14时6分", {2013, 9, 5, 14, 6, 0}, "2013年9月5日14时6分"},
    {__LINE__, "2013年9月5日14时", {2013, 9, 5, 14, 0, 0}, "2013年9月5日14时"},
    {__LINE__, "2013年9月5日", {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
    {__LINE__, "2013-9-5 14:6:5", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "2013-09-05 14:06:05", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "2013/9/5 14:06", {2013, 9, 5, 14, 6, 0}, "2013年9月5日14时6分"},
    {__LINE__, "2013.9.5", {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
    {__LINE__, "2013-9-5-14-6-5", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "2013-9-5 14时6分5秒", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "2013年9月5日14:06:05", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "2013-9-5 14:6:5秒", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "2013年9月5日14时6分5秒以后", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "20130905", {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
    {__LINE__, "20130905143005", {2013, 9, 5, 14, 30, 5}, "2013年9月5日14时30分5秒"},
    {__LINE__, "2013-9-5 ", {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
    {__LINE__, "２０１３－０９－０５　１４：０６：０５", {2013, 9, 5, 14, 6, 5}, "2013年9月5日14时6分5秒"},
    {__LINE__, "２０１３年９月５日", {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
    {__LINE__, "２０１３／９／５", {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
    {__LINE__, "２０１３．９．５", {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
    {__LINE__, "100年1月1日", {100, 1, 1, 0, 0, 0}, "100年1月1日"},
    {__LINE__, "0100-1-1", {100, 1, 1, 0, 0, 0}, "100年1月1日"},
    {__LINE__, "2012-2-29", {2012, 2, 29, 0, 0, 0}, "2012年2月29日"},
    {__LINE__, "2000-2-29", {2000, 2, 29, 0, 0, 0}, "2000年2月29日"},
    {__LINE__, "2013-123-4", {2013, 12, 3, 4, 0, 0}, "2013年12月3日4时"},
    {__LINE__, "12345-1-1", {1234, 5, 1, 1, 0, 0}, "1234年5月1日1时"},
    {__LINE__, "2013-9-5 -14", {2013, 9, 5, 0, 14, 0}, "2013年9月5日0时14分"},
    {__LINE__, "9999-12-31", {9999, 12, 31, 0, 0, 0}, "9999年12月31日"},
    // A time on the first or the last day parses, but formatting shows the limit.
    {__LINE__, "9999年12月31日23时", {9999, 12, 31, 23, 0, 0}, "9999年12月31日"},
    {__LINE__, "100年1月1日12时", {100, 1, 1, 12, 0, 0}, "100年1月1日"},
    {__LINE__, "9999-12-31 23:59:59", {9999, 12, 31, 23, 59, 59}, "9999年12月31日"},
    // A separator with nothing after it leaves the rest of the time at 0.
    {__LINE__, "2013-9-5-", {2013, 9, 5, 0, 0, 0}, "2013年9月5日"},
    {__LINE__, "2013-9-5 14:6:", {2013, 9, 5, 14, 6, 0}, "2013年9月5日14时6分"},
    {__LINE__, "2013年9月5日14时6分秒", {2013, 9, 5, 14, 6, 0}, "2013年9月5日14时6分"},
    {__LINE__, "2013-9-5 23:59:59", {2013, 9, 5, 23, 59, 59}, "2013年9月5日23时59分59秒"},
};

TEST(TextToDateTime, AcceptsTheFixedAndTheLooseForms) {
    for (const AcceptedRow& row : kAcceptedRows) {
        SCOPED_TRACE(testing::Message() << "line " << row.line << ": " << Hex(row.text));
        EXPECT_SAME_DOUBLE(TextToDateTime(row.text), MakeDateTime(row.fields));
    }
}

TEST(TextToDateTime, AcceptedTextsComeBackInTheFixedForm) {
    for (const AcceptedRow& row : kAcceptedRows) {
        SCOPED_TRACE(testing::Message() << "line " << row.line << ": " << Hex(row.text));
        EXPECT_SAME_TEXT(DateTimeToText(TextToDateTime(row.text)), row.fixedForm);
    }
}

struct RejectedRow {
    int line;
    const char* text;
};

const RejectedRow kRejectedRows[] = {
    {__LINE__, ""},
    {__LINE__, " 2013-9-5"},
    {__LINE__, "　2013-9-5"},  // ideographic space, normalised to a space in front
    {__LINE__, "2013年9月5日 14时"},
    {__LINE__, "2013年09月05日 14:06:05"},
    {__LINE__, "2013-9-5 14:6:5 "},
    {__LINE__, "2013 9 5"},  // a space ends the day only
    {__LINE__, "2013-9-5 14 06"},
    {__LINE__, "2013-9-5 14:06:05.5"},
    {__LINE__, "2013-9-5T14:06:05"},
    {__LINE__, "2013-2-29"},
    {__LINE__, "1900-2-29"},
    {__LINE__, "2100-2-29"},
    {__LINE__, "2013-13-1"},
    {__LINE__, "2013-0-1"},
    {__LINE__, "2013-9-0"},
    {__LINE__, "2013-9-31"},
    {__LINE__, "2013-12-32"},
    {__LINE__, "2013-9-5 24:00"},
    {__LINE__, "2013-9-5 14:60"},
    {__LINE__, "2013-9-5 14:6:60"},
    {__LINE__, "2013-12-31 23:59:60"},
    {__LINE__, "99-1-1"},
    {__LINE__, "13-9-5"},
    {__LINE__, "0099-12-31"},
    {__LINE__, "10000-1-1"},
    {__LINE__, "2013-9"},
    {__LINE__, "2013"},
    {__LINE__, "2013905"},
    {__LINE__, "2013--9-5"},
    {__LINE__, "2013年9月5号"},
    {__LINE__, "2013\xA1\xAA" "9\xA1\xAA" "5"},  // dash —, which has no ASCII form
    {__LINE__, "2013\xA1\xAB" "9\xA1\xAB" "5"},  // full-width tilde, mapped to ~, no separator
    {__LINE__, "2013-9-5 14:6:5\xA1\xEE"},       // star, mapped to *
    {__LINE__, "-2013-9-5"},
    {__LINE__, "+2013-9-5"},
    {__LINE__, "abc"},
};

TEST(TextToDateTime, RejectsEveryOtherText) {
    for (const RejectedRow& row : kRejectedRows) {
        SCOPED_TRACE(testing::Message() << "line " << row.line << ": " << Hex(row.text));
        EXPECT_SAME_DOUBLE(TextToDateTime(row.text), DateTimeParseFailure);
    }
}

TEST(TextToDateTime, AbsentTextCountsAsEmpty) {
    EXPECT_SAME_DOUBLE(TextToDateTime(nullptr), DateTimeParseFailure);
    EXPECT_EQ(NormalizeFullWidth(nullptr), "");
}

// ---- Full-width forms.

TEST(FullWidthToAscii, MapsTheListedUnitsOnly) {
    struct Row {
        int line;
        unsigned char lead, trail;
        std::optional<char> ascii;
    };
    constexpr Row kRows[] = {
        {__LINE__, 0xA1, 0xA1, ' '}, {__LINE__, 0xA1, 0xAB, '~'}, {__LINE__, 0xA1, 0xEE, '*'},
        {__LINE__, 0xA1, 0xEF, '*'}, {__LINE__, 0xA3, 0xA1, '!'}, {__LINE__, 0xA3, 0xA4, '$'},
        {__LINE__, 0xA3, 0xAD, '-'}, {__LINE__, 0xA3, 0xAE, '.'}, {__LINE__, 0xA3, 0xAF, '/'},
        {__LINE__, 0xA3, 0xB0, '0'}, {__LINE__, 0xA3, 0xB9, '9'}, {__LINE__, 0xA3, 0xBA, ':'},
        {__LINE__, 0xA3, 0xC1, 'A'}, {__LINE__, 0xA3, 0xFE, '~'},
        {__LINE__, 0xA1, 0xAA, {}},  {__LINE__, 0xA1, 0xA2, {}},  {__LINE__, 0xA1, 0xAC, {}},
        {__LINE__, 0xA1, 0xED, {}},  {__LINE__, 0xA1, 0xF0, {}},  {__LINE__, 0xA3, 0xA0, {}},
        {__LINE__, 0xA3, 0xFF, {}},  {__LINE__, 0xA3, 0x41, {}},  {__LINE__, 0xA2, 0xA1, {}},
        {__LINE__, 0xA4, 0xB0, {}},  {__LINE__, 0xC4, 0xEA, {}},  {__LINE__, 0x80, 0x80, {}},
        {__LINE__, 0xFF, 0xFF, {}},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(FullWidthToAscii(row.lead, row.trail), row.ascii);
    }
}

TEST(FullWidthToAscii, MapsNinetyEightUnitsToPrintableAscii) {
    // Row A3 has 94 full-width forms; row A1 adds the space, the tilde and two stars.
    int mapped = 0;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0x01; trail <= 0xFF; ++trail) {
            const std::optional<char> ascii =
                FullWidthToAscii(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
            if (!ascii) continue;
            ++mapped;
            EXPECT_TRUE(*ascii >= 0x20 && *ascii <= 0x7E) << lead << ' ' << trail;
        }
    }
    EXPECT_EQ(mapped, 98);
}

TEST(NormalizeFullWidth, MapsWholeUnitsAndDropsAHalfUnitAtTheEnd) {
    struct Row {
        int line;
        const char* text;
        const char* normalized;
    };
    constexpr Row kRows[] = {
        {__LINE__, "", ""},
        {__LINE__, "2013-9-5 14:6:5", "2013-9-5 14:6:5"},
        {__LINE__, "２０１３－０９－０５　１４：０６：０５", "2013-09-05 14:06:05"},
        {__LINE__, "2013年9月5日", "2013年9月5日"},
        {__LINE__, "\xA1\xAA", "\xA1\xAA"},
        {__LINE__, "a\xA1\xAB", "a~"},
        {__LINE__, "\xA1\xEE\xA1\xEF", "**"},
        {__LINE__, "\xA3\xA4\xA3\xFE", "$~"},
        {__LINE__, "2013\x81", "2013"},
        {__LINE__, "\xC4", ""},
        {__LINE__, "\x81\x30", "\x81\x30"},  // a unit whose second byte is ASCII stays whole
        // Units are paired from the start: A3 A3 is "#", and B2 is then a half unit.
        {__LINE__, "\xA3\xA3\xB2", "#"},
        {__LINE__, "\x81\xA3\xB2", "\x81\xA3"},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        EXPECT_SAME_TEXT(NormalizeFullWidth(row.text), row.normalized);
    }
}

// ---- Hostile input.

TEST(TextToDateTime, StepsOverTwoByteUnitsAsAWhole) {
    struct Row {
        int line;
        const char* text;
        std::optional<CalendarFields> fields;  // none: rejected
    };
    const Row kRows[] = {
        {__LINE__, "2013-9-5\x81", CalendarFields{2013, 9, 5, 0, 0, 0}},
        {__LINE__, "2013-9-5 14:6:5\xC3", CalendarFields{2013, 9, 5, 14, 6, 5}},
        {__LINE__, "2013-9-5 14:6:5秒\xFF", CalendarFields{2013, 9, 5, 14, 6, 5}},
        {__LINE__, "2013-9-5 14:6:5秒\x80\x80junk", CalendarFields{2013, 9, 5, 14, 6, 5}},
        {__LINE__, "\x80\x80\x80", std::nullopt},
        {__LINE__, "\xFF\xFF\xFF\xFF", std::nullopt},
        {__LINE__, "2013-9-5\x80\x35", std::nullopt},
        {__LINE__, "2013月9年5日", std::nullopt},
        {__LINE__, "2013年9年5日", std::nullopt},
        {__LINE__, "2013年9月5日14时6分5分", std::nullopt},
        {__LINE__, "2013秒", std::nullopt},
        {__LINE__, "年月日", std::nullopt},
        // The bytes of 秒 and 年 straddle two units here, so they are not those characters.
        {__LINE__, "2013-9-5 14:6:\xB7\xC3\xEB", std::nullopt},
        {__LINE__, "2013\xB7\xC4\xEA" "9-5", std::nullopt},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(testing::Message() << "line " << row.line << ": " << Hex(row.text));
        const DateTime expected = row.fields ? MakeDateTime(*row.fields) : DateTimeParseFailure;
        EXPECT_SAME_DOUBLE(TextToDateTime(row.text), expected);
    }
}

TEST(TextToDateTime, EveryHighByteIsALeadByte) {
    const DateTime date = MakeDateTime(2013, 9, 5);
    const DateTime dateTime = MakeDateTime(2013, 9, 5, 14, 6, 5);
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const std::string lead(1, static_cast<char>(byte));
        SCOPED_TRACE(Hex(lead));
        EXPECT_SAME_DOUBLE(TextToDateTime(("2013-9-5" + lead).c_str()), date);
        EXPECT_SAME_DOUBLE(TextToDateTime((lead + "2013-9-5").c_str()), DateTimeParseFailure);
        EXPECT_SAME_DOUBLE(TextToDateTime(("2013-9-5 14:6:5" + lead + "x").c_str()), DateTimeParseFailure);
        EXPECT_SAME_DOUBLE(TextToDateTime(("2013-9-5 14:6:5秒" + lead + "x").c_str()), dateTime);
    }
}

std::string Repeat(std::string_view piece, std::size_t bytes) {
    std::string text;
    text.reserve(bytes);
    while (text.size() + piece.size() <= bytes) text += piece;
    return text;
}

TEST(TextToDateTime, ReadsAMegabyteOfInput) {
    constexpr std::size_t kMegabyte = 1 << 20;
    struct Row {
        int line;
        std::string text;
        std::optional<CalendarFields> fields;  // none: rejected
    };
    const Row kRows[] = {
        {__LINE__, Repeat("1", kMegabyte), std::nullopt},
        {__LINE__, Repeat("-", kMegabyte), std::nullopt},
        {__LINE__, Repeat(".", kMegabyte), std::nullopt},
        {__LINE__, Repeat("/", kMegabyte), std::nullopt},
        {__LINE__, Repeat(":", kMegabyte), std::nullopt},
        {__LINE__, Repeat(" ", kMegabyte), std::nullopt},
        {__LINE__, Repeat("１", kMegabyte), std::nullopt},
        {__LINE__, Repeat("年", kMegabyte), std::nullopt},
        {__LINE__, Repeat("\xFF", kMegabyte), std::nullopt},
        {__LINE__, "20130905143005" + Repeat("0", kMegabyte), std::nullopt},
        {__LINE__, "2013-9-5 14:6:5秒" + Repeat("9", kMegabyte), CalendarFields{2013, 9, 5, 14, 6, 5}},
        {__LINE__, "2013-9-5 14:6:5" + Repeat("秒", kMegabyte), CalendarFields{2013, 9, 5, 14, 6, 5}},
        {__LINE__, "２０１３－０９－０５" + Repeat("\xA3", kMegabyte), std::nullopt},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        const DateTime expected = row.fields ? MakeDateTime(*row.fields) : DateTimeParseFailure;
        EXPECT_SAME_DOUBLE(TextToDateTime(row.text.c_str()), expected);
        EXPECT_LE(NormalizeFullWidth(row.text.c_str()).size(), row.text.size());
    }
}

// ---- Round trips.

// Checks that any double shows as a text of 11 to 26 bytes that parses back to the value that
// formatting showed, and that formatting that value gives the same text.
// Returns: an empty string, or what went wrong.
std::string RoundTripProblem(DateTime value) {
    const std::string text = DateTimeToText(value);
    if (text.size() < 11 || text.size() > 26) return "length " + std::to_string(text.size()) + ": " + Hex(text);
    const DateTime shown = MakeDateTime(SplitDateTime(value).fields);
    const DateTime parsed = TextToDateTime(text.c_str());
    if (Bits(parsed) != Bits(shown)) return Hex(text) + "parsed to " + std::to_string(parsed);
    if (DateTimeToText(parsed) != text) return Hex(text) + "formatted again as " + Hex(DateTimeToText(parsed));
    return {};
}

TEST(DateTextRoundTrip, EveryDayOfTheRangeAtTwoTimes) {
    struct TimeOfDay {
        std::int32_t hour, minute, second;
    };
    // Besides midnight, which shows the date alone, each day takes one of the shapes of the
    // time part in turn.
    constexpr TimeOfDay kTimes[] = {{14, 0, 0}, {0, 6, 0}, {0, 0, 5}, {14, 6, 5}, {23, 59, 59}};
    int failures = 0;
    std::int32_t days = 0;
    for (double dayNumber = MinDateTime; dayNumber <= MaxDateTime && failures < 10; ++dayNumber, ++days) {
        const CalendarFields fields = SplitDateTime(dayNumber).fields;
        const TimeOfDay& time = kTimes[days % std::size(kTimes)];
        const DateTime withTime =
            MakeDateTime(CalendarFields{fields.year, fields.month, fields.day, time.hour, time.minute, time.second});
        for (const DateTime value : {dayNumber, withTime}) {
            const std::string text = DateTimeToText(value);
            // Times on the first and the last day show as the limit, and so come back as it.
            const DateTime parsed = TextToDateTime(text.c_str());
            if (Bits(parsed) != Bits(ClampDateTimeRange(value))) {
                ADD_FAILURE() << value << " showed as " << Hex(text) << "and parsed to " << parsed;
                ++failures;
            }
        }
    }
    EXPECT_EQ(days, 3615900);  // 100-01-01 to 9999-12-31, both included
}

TEST(DateTextRoundTrip, RandomValues) {
    std::mt19937_64 random(20130905);
    std::uniform_real_distribution<double> inRange(MinDateTime - 2.0, MaxDateTime + 2.0);
    int failures = 0;
    for (int i = 0; i < 200000 && failures < 10; ++i) {
        // Half the values spread over the range, half any bit pattern (NaN, infinities, tiny, huge).
        const double value = i % 2 == 0 ? inRange(random) : std::bit_cast<double>(random());
        const std::string problem = RoundTripProblem(value);
        if (!problem.empty()) {
            ADD_FAILURE() << value << " (" << std::hex << Bits(value) << std::dec << "): " << problem;
            ++failures;
        }
    }
}

}  // namespace
