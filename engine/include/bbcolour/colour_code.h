// Wraps every character unit in a BBCode colour tag of its own.
#pragma once

#include <cstdint>
#include <string_view>

#include "bbcolour/text.h"

namespace bbcolour {

// The fixed pseudo-random sequence behind every colour: a 32-bit linear
// congruential generator that starts at state 1 and is never reseeded, so
// the same typing gives the same colours in every run.
class RandomGenerator {
public:
    // One draw, 0..32767.
    std::uint32_t Draw() {
        state_ = state_ * 214013u + 2531011u;
        return (state_ >> 16) & 0x7FFFu;
    }
    // One draw mapped to lo..hi (hi >= lo).
    std::int32_t RandomBetween(std::int32_t lo, std::int32_t hi) {
        const auto span = static_cast<std::uint32_t>(hi - lo) + 1u;
        return lo + static_cast<std::int32_t>(Draw() % span);
    }
    std::uint32_t State() const { return state_; }

private:
    std::uint32_t state_ = 1;
};

// The generator of this process; the desktop window draws only from it.
RandomGenerator& ProcessRandomGenerator();

// A tag is this many bytes longer than its unit: "[color=#RRGGBB]" + "[/color]".
inline constexpr std::size_t kTagOverhead = 23;

// One tag around `unit`, for a triple "red,green,blue" of decimal 0..255.
Text BuildColourTag(const Text& triple, const Text& unit);

// The colour code of `input`: one tag per unit, three draws (red, green,
// blue) per unit, nothing between the tags.
Text GenerateColourCode(const Text& input, RandomGenerator& generator);
Text GenerateColourCode(const Text& input);  // draws from ProcessRandomGenerator()

// Appends the colour code of `input` to `out`. Feeding a text in pieces that
// end on unit boundaries (UnitBoundaryFrom) appends the same bytes as one call.
void AppendColourCode(std::string_view input, RandomGenerator& generator, Text& out);

}  // namespace bbcolour
