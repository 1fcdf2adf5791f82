// Cuts a text into the character units that each get a colour tag.
#pragma once

#include <cstddef>
#include <string_view>

#include "bbcolour/text.h"

namespace bbcolour {

// Byte length (1, 2 or 4) of the unit that starts at `pos` (< text.size()).
//
// The rule is a byte threshold, not a decoder: a byte up to 0x7A ('z') is a
// unit alone; a higher byte takes the next byte along whatever it is, so a
// GBK double-byte character stays whole. Two refinements keep characters
// intact: a four-byte GB18030 sequence is one unit, and a byte that cannot
// lead a double-byte character ({ | } ~ DEL, 0x80, 0xFF) stands alone before
// a byte of 0x80 or above instead of stealing the lead byte of the character
// after it. A high byte in the last position is a unit of one byte.
inline std::size_t UnitLengthAt(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b = byte(pos);
    if (b <= 0x7A) return 1;
    const std::size_t left = text.size() - pos;
    if (left == 1) return 1;
    const unsigned char next = byte(pos + 1);
    if (b < 0x81 || b == 0xFF) return next >= 0x80 ? 1 : 2;
    if (left >= 4 && next >= 0x30 && next <= 0x39) {
        const unsigned char third = byte(pos + 2), fourth = byte(pos + 3);
        if (third >= 0x81 && third <= 0xFE && fourth >= 0x30 && fourth <= 0x39) return 4;
    }
    return 2;
}

// Number of units in `text`.
std::size_t CountUnits(std::string_view text);

// Smallest unit boundary at or after `atLeast` (or text.size()): a prefix
// ending there splits exactly as it does inside the whole text.
std::size_t UnitBoundaryFrom(std::string_view text, std::size_t atLeast);

// Empties `units`, then appends the units of `input` in order. Joined, the
// units give back the input.
void SplitCharacters(const Text& input, TextList& units);

}  // namespace bbcolour
