// The text form of a DateTime, as the three time boxes of the main window show and accept it.
//
// Texts are GBK byte strings (code page 936): a byte of 0x80 or above starts a two-byte unit.
// DateTimeToText writes the fixed form "2013年9月5日14时6分5秒" (only as much of the time as
// is needed); TextToDateTime reads it and looser forms (ASCII separators, digit runs,
// full-width digits and punctuation) and gives DateTimeParseFailure for a rejected text.
#pragma once

#include <optional>
#include <string>

#include "datetime.h"

// Returned for every rejected text. It is also the valid moment 100-01-01 00:00:00.
inline constexpr DateTime DateTimeParseFailure = -657434.0;

// Returns: the value's text, owned by the caller. Never empty; 11 to 26 bytes.
std::string DateTimeToText(DateTime value);

// Returns: the parsed value, or DateTimeParseFailure. A null text counts as empty.
DateTime TextToDateTime(const char* text);

// Returns: a copy of the zero-terminated text with mapped full-width units turned into
// ASCII; a lead byte right before the terminator is dropped.
std::string NormalizeFullWidth(const char* text);

// Returns: the ASCII byte for one two-byte GBK unit, or nothing when the unit is not mapped.
std::optional<char> FullWidthToAscii(unsigned char lead, unsigned char trail);
