// Character-set conversion at the command line's edge: the engine works on
// GB18030 bytes, users' files are mostly UTF-8.
#pragma once

#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bbcolour::cli {

enum class Encoding { Utf8, Gb18030, Gbk };

// "utf-8", "gb18030", "gbk" (any case, "utf8" too), or nothing.
std::optional<Encoding> ParseEncoding(std::string_view name);
const char* EncodingName(Encoding encoding);

// Where and why an input cannot be coloured.
struct InputProblem {
    std::size_t offset;   // byte offset in the input
    std::string what;     // e.g. "is not valid UTF-8"
};

// The input as GB18030 bytes for the engine, or the first problem: a byte
// sequence that is not valid in `encoding`, or a NUL byte.
struct Prepared {
    std::string text;
    std::optional<InputProblem> problem;
};
Prepared PrepareInput(std::string input, Encoding encoding);

// Converts GB18030 text to UTF-8. Markup is mostly ASCII, which is copied
// eight bytes at a time; double-byte characters come from a table filled on
// first use. Throws std::runtime_error on bytes that are not GB18030.
class Gb18030ToUtf8 {
public:
    Gb18030ToUtf8();
    ~Gb18030ToUtf8();
    Gb18030ToUtf8(const Gb18030ToUtf8&) = delete;
    Gb18030ToUtf8& operator=(const Gb18030ToUtf8&) = delete;

    void Append(std::string_view gb18030, std::string& utf8);

private:
    // Converts one character of `length` bytes through iconv.
    void AppendSlow(const char* character, std::size_t length, std::string& utf8);

    iconv_t converter_;
    // Per double-byte code: UTF-8 bytes in the low 24 bits, length in the top 8; 0 = not yet known.
    std::vector<std::uint32_t> pairs_;
};

}  // namespace bbcolour::cli
