// The preview HTML: of generated code it is one span per unit with the
// unit's bytes in order and nothing else; of any bytes it is produced
// without failing, and text with no brackets passes through unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "bbcolour/colour_code.h"
#include "bbcolour/preview_html.h"
#include "bbcolour/splitter.h"
#include "check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string any = bbcolour::ConvertCodeToHtml(bytes);
    if (bytes.find_first_of("[]") == std::string::npos) CHECK(any == bytes);
    if (bytes.find('\0') != std::string::npos) return 0;

    bbcolour::RandomGenerator generator;
    const std::string code = bbcolour::GenerateColourCode(bytes, generator);
    const std::string html = bbcolour::ConvertCodeToHtml(code);
    bbcolour::TextList units;
    bbcolour::SplitCharacters(bytes, units);
    std::string expected;
    std::size_t pos = 0;
    for (const auto& unit : units) {
        expected += bbcolour::kSpanOpener;
        expected.append(code, pos + 8, 6);  // the tag's colour
        expected += bbcolour::kTagCloser;
        expected += unit;  // a "]" inside a unit stays "]"
        expected += bbcolour::kSpanEnd;
        pos += bbcolour::kTagOverhead + unit.size();
    }
    CHECK(html == expected);
    return 0;
}
