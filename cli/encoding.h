// Character sets at the command line's edge: the engine works on GB18030
// bytes, users' files are mostly UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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

}  // namespace bbcolour::cli
