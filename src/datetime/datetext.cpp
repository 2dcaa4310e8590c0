#include "datetext.h"

#include <cstring>
#include <memory>

namespace {

// The unit characters as GBK bytes, spelled as escapes so that every compiler yields these
// bytes whatever its execution character set.
struct Unit {
    char lead;
    char trail;
};
constexpr Unit kYearUnit{'\xC4', '\xEA'};    // 年
constexpr Unit kMonthUnit{'\xD4', '\xC2'};   // 月
constexpr Unit kDayUnit{'\xC8', '\xD5'};     // 日
constexpr Unit kHourUnit{'\xCA', '\xB1'};    // 时
constexpr Unit kMinuteUnit{'\xB7', '\xD6'};  // 分
constexpr Unit kSecondUnit{'\xC3', '\xEB'};  // 秒

// "2013年12月31日23时59分59秒" is the longest text.
constexpr std::size_t kLongestText = 26;

// Preconditions: 0 <= number <= 9999. Returns: the end of the plain decimal digits written.
char* AppendNumber(char* out, std::int32_t number) {
    if (number >= 1000) *out++ = static_cast<char>('0' + number / 1000);
    if (number >= 100) *out++ = static_cast<char>('0' + number / 100 % 10);
    if (number >= 10) *out++ = static_cast<char>('0' + number / 10 % 10);
    *out++ = static_cast<char>('0' + number % 10);
    return out;
}

char* AppendField(char* out, std::int32_t number, Unit unit) {
    out = AppendNumber(out, number);
    *out++ = unit.lead;
    *out++ = unit.trail;
    return out;
}

// One field of the loose form: how many digits it takes and what may follow it.
struct FieldRule {
    int maxDigits;
    Unit unit;
    bool spaceFollows;  // only the day may be followed by a space, before the time
};
constexpr FieldRule kFieldRules[6] = {
    {4, kYearUnit, false}, {2, kMonthUnit, false}, {2, kDayUnit, true},
    {2, kHourUnit, false}, {2, kMinuteUnit, false}, {2, kSecondUnit, false},
};

bool IsAt(const char* cursor, Unit unit) {
    // The text is zero-terminated and the lead is not zero, so the trail is read only when the
    // lead matched a byte that is not the terminator.
    return cursor[0] == unit.lead && cursor[1] == unit.trail;
}

bool IsAsciiSeparator(char c, bool spaceAllowed) {
    return c == '-' || c == '.' || c == '/' || c == ':' || (spaceAllowed && c == ' ');
}

// Reads at most maxDigits ASCII digits; a field without digits is 0. Extra digits stay for
// whatever reads next.
std::int32_t ReadNumber(const char*& cursor, int maxDigits) {
    std::int32_t number = 0;
    for (int read = 0; read < maxDigits && *cursor >= '0' && *cursor <= '9'; ++read, ++cursor) {
        number = number * 10 + (*cursor - '0');
    }
    return number;
}

// Steps over at most one separator; anything else, the end included, is left for the next field.
void SkipSeparator(const char*& cursor, const FieldRule& rule) {
    if (IsAsciiSeparator(*cursor, rule.spaceFollows)) {
        ++cursor;
    } else if (IsAt(cursor, rule.unit)) {
        cursor += 2;
    }
}

// Preconditions: out has room for strlen(text) bytes, which is enough because every unit
// becomes at most itself. Returns: the end of the normalised bytes written (no terminator).
char* NormalizeInto(const char* text, char* out) {
    while (true) {
        while (*text != '\0' && static_cast<unsigned char>(*text) < 0x80) *out++ = *text++;
        // A lead byte with nothing after it is half a unit: dropped, not copied.
        if (text[0] == '\0' || text[1] == '\0') return out;
        const auto lead = static_cast<unsigned char>(text[0]);
        const auto trail = static_cast<unsigned char>(text[1]);
        if (const std::optional<char> ascii = FullWidthToAscii(lead, trail)) {
            *out++ = *ascii;
        } else {
            *out++ = text[0];
            *out++ = text[1];
        }
        text += 2;
    }
}

}  // namespace

std::string DateTimeToText(DateTime value) {
    const CalendarFields f = SplitDateTime(value).fields;
    char text[kLongestText];
    char* end = text;
    end = AppendField(end, f.year, kYearUnit);
    end = AppendField(end, f.month, kMonthUnit);
    end = AppendField(end, f.day, kDayUnit);
    // Show only as much of the time as is needed: a second brings the hour and the minute
    // with it, a minute brings the hour.
    if (f.second != 0 || f.minute != 0 || f.hour != 0) end = AppendField(end, f.hour, kHourUnit);
    if (f.second != 0 || f.minute != 0) end = AppendField(end, f.minute, kMinuteUnit);
    if (f.second != 0) end = AppendField(end, f.second, kSecondUnit);
    return std::string(text, end);
}

DateTime TextToDateTime(const char* text) {
    if (text == nullptr) return DateTimeParseFailure;
    // Typed texts are short, so their normalised copy usually fits on the stack; the text has
    // no length limit, so a longer one goes to the heap.
    const std::size_t length = std::strlen(text);
    char shortCopy[64];
    std::unique_ptr<char[]> longCopy;
    char* copy = shortCopy;
    if (length >= sizeof shortCopy) {
        longCopy = std::make_unique_for_overwrite<char[]>(length + 1);
        copy = longCopy.get();
    }
    char* const copyEnd = NormalizeInto(text, copy);
    if (copyEnd == copy) return DateTimeParseFailure;
    *copyEnd = '\0';

    // The copy has whole units only, and the cursor moves by digits, ASCII separators and whole
    // unit characters, so it never lands on the second byte of a unit.
    const char* cursor = copy;
    std::int32_t numbers[6];
    for (int field = 0; field < 6; ++field) {
        numbers[field] = ReadNumber(cursor, kFieldRules[field].maxDigits);
        if (field < 5) SkipSeparator(cursor, kFieldRules[field]);
    }
    // After the second only 秒 or the end may follow; what comes after 秒 is not read.
    if (*cursor != '\0' && !IsAt(cursor, kSecondUnit)) return DateTimeParseFailure;

    const CalendarFields fields{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]};
    CalendarFields clamped = fields;
    ClampCalendarFields(clamped);
    // A field outside its range is refused, not clamped: the user typed a date that is not there.
    if (clamped != fields) return DateTimeParseFailure;
    return MakeDateTime(fields);
}

std::string NormalizeFullWidth(const char* text) {
    if (text == nullptr) return {};
    std::string normalized(std::strlen(text), '\0');
    normalized.resize(static_cast<std::size_t>(NormalizeInto(text, normalized.data()) - normalized.data()));
    return normalized;
}

std::optional<char> FullWidthToAscii(unsigned char lead, unsigned char trail) {
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
    if (lead == 0xA1) {
        switch (trail) {
            case 0xA1: return ' ';   // ideographic space
            case 0xAB: return '~';   // full-width tilde
            case 0xEE:               // white star
            case 0xEF: return '*';   // black star
            default: break;
        }
    }
    return std::nullopt;
}
