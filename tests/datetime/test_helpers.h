// Helpers shared by the date-time tests: values compared bit for bit, fields shown readably.
#pragma once

#include <bit>
#include <cstdint>
#include <ostream>

#include "datetime.h"

inline std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

// Values are compared bit for bit: the file time code and the text form rely on exact doubles,
// and -0.0 and NaN must not pass for 0.0 and anything else.
#define EXPECT_SAME_DOUBLE(actual, expected) \
    EXPECT_EQ(Bits(actual), Bits(expected)) << (actual) << " vs " << (expected)

// Shows calendar fields in failure messages as a date and time instead of raw bytes.
inline void PrintTo(const CalendarFields& f, std::ostream* os) {
    *os << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':' << f.second;
}
