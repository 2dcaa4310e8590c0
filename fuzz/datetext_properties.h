// What every text must satisfy, whatever its bytes: checked by the fuzzer on generated texts
// and by the tests on the fuzzer's corpus.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "datetext.h"

// Preconditions: text is zero-terminated. Returns: empty when every property holds, else a
// description of the first one that fails.
inline std::string DateTextPropertyViolation(const char* text) {
    if (NormalizeFullWidth(text).size() > std::strlen(text)) return "the normalised copy is longer than the text";

    // Rejected texts give DateTimeParseFailure, which formats as "100年1月1日" and parses back to
    // itself, so the same properties cover accepted and rejected texts.
    const DateTime parsed = TextToDateTime(text);
    const std::string shown = DateTimeToText(parsed);
    const DateTime reparsed = TextToDateTime(shown.c_str());
    // A time on the first or the last day of the range is accepted but shown as that day's
    // midnight, so it comes back as the limit rather than as itself.
    if (std::bit_cast<std::uint64_t>(reparsed) != std::bit_cast<std::uint64_t>(ClampDateTimeRange(parsed))) {
        return "the value does not survive formatting and parsing again: " + shown;
    }
    if (DateTimeToText(reparsed) != shown) return "formatting the parsed text changes it: " + shown;
    return {};
}
