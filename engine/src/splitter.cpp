#include "bbcolour/splitter.h"

namespace bbcolour {

std::size_t CountUnits(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += UnitLengthAt(text, pos)) ++count;
    return count;
}

std::size_t UnitBoundaryFrom(std::string_view text, std::size_t atLeast) {
    std::size_t pos = 0;
    while (pos < text.size() && pos < atLeast) pos += UnitLengthAt(text, pos);
    return pos;
}

void SplitCharacters(const Text& input, TextList& units) {
    units.clear();
    for (std::size_t pos = 0; pos < input.size();) {
        const std::size_t len = UnitLengthAt(input, pos);
        units.emplace_back(input, pos, len);
        pos += len;
    }
}

}  // namespace bbcolour
