#include "bbcolour/colour_code.h"

#include <array>
#include <cstring>

#include "bbcolour/radix.h"
#include "bbcolour/splitter.h"

namespace bbcolour {

namespace {

constexpr std::string_view kTagOpen = "[color=#";
constexpr std::string_view kTagClose = "[/color]";

// Two upper-case hexadecimal digits for each component value.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
    std::array<std::array<char, 2>, 256> table{};
    for (int v = 0; v < 256; ++v) table[v] = {DigitAlphabet[v >> 4], DigitAlphabet[v & 15]};
    return table;
}();

// Component value as two hex digits, by the radix converter, "0" in front of one digit.
Text ComponentToHex(Text decimal) {
    Text hex = ConvertRadix(decimal, 10, 16);
    if (hex.size() == 1) hex.insert(0, "0");
    return hex;
}

}  // namespace

RandomGenerator& ProcessRandomGenerator() {
    static RandomGenerator generator;
    return generator;
}

Text BuildColourTag(const Text& triple, const Text& unit) {
    Text tag(kTagOpen);
    std::size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t comma = triple.find(',', start);
        tag += ComponentToHex(triple.substr(start, comma - start));
        start = comma + 1;
    }
    tag += ']';
    tag += unit;
    tag += kTagClose;
    return tag;
}

// Writes exactly what BuildColourTag gives for the triple of three draws, but
// from a lookup table straight into the output: the decimal round trip costs
// far more than the tag itself.
void AppendColourCode(std::string_view input, RandomGenerator& generator, Text& out) {
    const std::size_t start = out.size();
    out.resize(start + kTagOverhead * CountUnits(input) + input.size());
    char* p = out.data() + start;
    for (std::size_t pos = 0; pos < input.size();) {
        const std::size_t len = UnitLengthAt(input, pos);
        std::memcpy(p, kTagOpen.data(), kTagOpen.size());
        p += kTagOpen.size();
        for (int k = 0; k < 3; ++k) {
            const auto& hex = kHexPairs[static_cast<std::size_t>(generator.RandomBetween(0, 255))];
            *p++ = hex[0];
            *p++ = hex[1];
        }
        *p++ = ']';
        std::memcpy(p, input.data() + pos, len);
        p += len;
        std::memcpy(p, kTagClose.data(), kTagClose.size());
        p += kTagClose.size();
        pos += len;
    }
}

Text GenerateColourCode(const Text& input, RandomGenerator& generator) {
    Text code;
    AppendColourCode(input, generator, code);
    return code;
}

Text GenerateColourCode(const Text& input) {
    return GenerateColourCode(input, ProcessRandomGenerator());
}

}  // namespace bbcolour
