// The command line's input conversion: valid UTF-8 goes to GB18030 and back
// exactly; invalid UTF-8 is reported at its first bad byte, as found by an
// independent validator; a NUL before any bad byte is reported as such.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "bbcolour/charset.h"
#include "check.h"
#include "encoding.h"

namespace {

// Decodes each sequence by its bit pattern and rejects overlongs,
// surrogates and values past U+10FFFF: another route to the same rules.
std::optional<std::size_t> IndependentFirstBad(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t length;
        std::uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, cp = c & 0x07;
        } else {
            return i;
        }
        if (i + length > s.size()) return i;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return i;
            cp = cp << 6 | (t & 0x3F);
        }
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < smallest[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return i;
        i += length;
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto prepared = bbcolour::cli::PrepareInput(input, bbcolour::cli::Encoding::Utf8);
    const std::size_t nul = input.find('\0');
    const auto bad = IndependentFirstBad(input.substr(0, nul));
    if (bad) {
        CHECK(prepared.problem && prepared.problem->offset == *bad && prepared.problem->what == "is not valid UTF-8");
    } else if (nul != std::string::npos) {
        CHECK(prepared.problem && prepared.problem->offset == nul && prepared.problem->what == "holds a NUL byte");
    } else {
        CHECK(!prepared.problem);
        std::string back;
        bbcolour::charset::Gb18030ToUtf8().Append(prepared.text, back);
        CHECK(back == input);
        CHECK(bbcolour::charset::Utf16ToGb18030(bbcolour::charset::Gb18030ToUtf16(prepared.text)) == prepared.text);
    }
    if (prepared.problem) CHECK(prepared.text.empty());
    return 0;
}
