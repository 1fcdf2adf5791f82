// The one GB18030 converter of the program, on ICU: the command line and the
// window convert through it, so they agree on every character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bbcolour::charset {

// Offset of the first byte of `utf8` that does not begin a well-formed UTF-8
// sequence (Unicode's Table 3-7: no overlongs, surrogates or values past
// U+10FFFF), or nothing when it is all well formed.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view utf8);

// Appends UTF-8 as GB18030, which represents every scalar value, and returns
// nothing; or returns the offset of the first byte that is not well-formed
// UTF-8 (as FirstInvalidUtf8), with `gb18030` then holding an unspecified
// prefix. The codes come from ICU's GB18030 table, read once per process.
std::optional<std::size_t> AppendUtf8AsGb18030(std::string_view utf8, std::string& gb18030);

// UTF-16 to GB18030 and back. An unpaired surrogate becomes U+FFFD; bytes
// that are not GB18030 decode as U+FFFD, each ill-formed sequence once.
std::string Utf16ToGb18030(std::u16string_view utf16);
std::u16string Gb18030ToUtf16(std::string_view gb18030);
// The same into `out`, which has room for gb18030.size() + 1 units; returns
// the number of units written.
std::size_t Gb18030ToUtf16(std::string_view gb18030, char16_t* out);

enum class LegacyCharset { Gb18030, Gbk };

// Offset of the first byte that is not a character of `charset` (including
// a sequence cut short at the end), or nothing.
std::optional<std::size_t> FirstInvalidByte(std::string_view bytes, LegacyCharset charset);

// Converts GB18030 text to UTF-8 at the speed markup needs: runs of ASCII
// are copied eight bytes at a time, supplementary characters are computed
// (their four-byte codes are one linear range), and BMP characters come
// from ICU's table, read once per process. Throws std::runtime_error on
// bytes that are not GB18030.
class Gb18030ToUtf8 {
public:
    void Append(std::string_view gb18030, std::string& utf8);
};

}  // namespace bbcolour::charset
