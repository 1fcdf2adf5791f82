// Converts whole numbers written as digit text between bases 2 and 36.
#pragma once

#include <cstdint>
#include <string_view>

#include "bbcolour/text.h"

namespace bbcolour {

// Digit value k is the character at index k; base n uses the first n.
inline constexpr std::string_view DigitAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Both error results begin with this code page 936 text ("参数错误-"),
// which no digit text can contain.
inline constexpr std::string_view RadixErrorPrefix = "\xB2\xCE\xCA\xFD\xB4\xED\xCE\xF3-";

// Base `base` (2..36) in simplified Chinese numerals, code page 936:
// 2 -> 二, 10 -> 一十, 16 -> 一十六, 30 -> 三十. Empty outside 2..36.
Text BaseNumeral(std::int32_t base);

// Full-width digits and letters to ASCII, ideographic space to space,
// 〜 to ~, stars to *, then a..z to A..Z. A lone trailing high byte is dropped.
Text NormaliseDigits(const Text& digits);

// Rewrites the non-negative number `digits` (base a) in base b, exactly,
// whatever its length. Past the base check, `digits` is replaced by its
// normalised form. Bad arguments give a message beginning with
// RadixErrorPrefix instead of digits.
Text ConvertRadix(Text& digits, std::int32_t a, std::int32_t b);

}  // namespace bbcolour
