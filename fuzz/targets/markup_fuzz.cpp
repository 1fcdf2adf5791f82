// Units and colour code on any bytes without NUL: the units give back the
// input, pieces cut at unit boundaries generate what one call generates, and
// every tag has its fixed shape.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "bbcolour/colour_code.h"
#include "bbcolour/splitter.h"
#include "check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    if (input.find('\0') != std::string::npos) return 0;

    bbcolour::TextList units;
    bbcolour::SplitCharacters(input, units);
    std::string joined;
    for (const auto& unit : units) {
        CHECK(unit.size() == 1 || unit.size() == 2 || unit.size() == 4);
        joined += unit;
    }
    CHECK(joined == input);
    CHECK(bbcolour::CountUnits(input) == units.size());

    bbcolour::RandomGenerator whole;
    const std::string code = bbcolour::GenerateColourCode(input, whole);
    CHECK(code.size() == bbcolour::kTagOverhead * units.size() + input.size());
    bbcolour::RandomGenerator reference;
    for (std::size_t i = 0; i < 3 * units.size(); ++i) reference.Draw();
    CHECK(whole.State() == reference.State());  // three draws per unit

    // Tags stripped give back the input, unit by unit, and each opens with
    // six upper-case hex digits.
    std::size_t pos = 0;
    for (const auto& unit : units) {
        CHECK(code.compare(pos, 8, "[color=#") == 0);
        for (std::size_t i = pos + 8; i < pos + 14; ++i)
            CHECK((code[i] >= '0' && code[i] <= '9') || (code[i] >= 'A' && code[i] <= 'F'));
        CHECK(code[pos + 14] == ']');
        CHECK(code.compare(pos + 15, unit.size(), unit) == 0);
        CHECK(code.compare(pos + 15 + unit.size(), 8, "[/color]") == 0);
        pos += bbcolour::kTagOverhead + unit.size();
    }
    CHECK(pos == code.size());

    // Cut where the first byte says: the boundary is the first unit boundary
    // at or after the cut, and two pieces generate the same code.
    const std::size_t atLeast = input.empty() ? 0 : data[0] % (input.size() + 1);
    const std::size_t cut = bbcolour::UnitBoundaryFrom(input, atLeast);
    std::size_t boundary = 0;
    for (const auto& unit : units) {
        if (boundary >= atLeast) break;
        boundary += unit.size();
    }
    CHECK(cut == boundary);
    bbcolour::RandomGenerator pieces;
    std::string pieced;
    const std::string_view view = input;
    bbcolour::AppendColourCode(view.substr(0, cut), pieces, pieced);
    bbcolour::AppendColourCode(view.substr(cut), pieces, pieced);
    CHECK(pieced == code);
    return 0;
}
