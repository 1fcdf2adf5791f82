#include "encoding.h"

#include <algorithm>

#include "bbcolour/charset.h"
#include "i18n.h"

namespace bbcolour::cli {

std::optional<Encoding> ParseEncoding(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower == "utf-8" || lower == "utf8") return Encoding::Utf8;
    if (lower == "gb18030") return Encoding::Gb18030;
    if (lower == "gbk" || lower == "cp936") return Encoding::Gbk;
    return std::nullopt;
}

const char* EncodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf8: return "UTF-8";
        case Encoding::Gb18030: return "GB18030";
        case Encoding::Gbk: return "GBK";
    }
    return "";
}

Prepared PrepareInput(std::string input, Encoding encoding) {
    // Only the part before a NUL byte is checked: the first problem wins.
    const std::size_t nul = input.find('\0');
    const std::string_view checked = std::string_view(input).substr(0, nul);
    Prepared prepared;
    std::optional<std::size_t> bad;
    if (encoding == Encoding::Utf8) {
        bad = charset::AppendUtf8AsGb18030(checked, prepared.text);
    } else {
        bad = charset::FirstInvalidByte(checked, encoding == Encoding::Gb18030 ? charset::LegacyCharset::Gb18030
                                                                               : charset::LegacyCharset::Gbk);
        if (!bad && nul == std::string::npos) prepared.text = std::move(input);
    }
    if (bad) {
        prepared.problem = InputProblem{*bad, encoding == Encoding::Utf8      ? N_("is not valid UTF-8")
                                              : encoding == Encoding::Gb18030 ? N_("is not valid GB18030")
                                                                              : N_("is not valid GBK")};
    } else if (nul != std::string::npos) {
        prepared.problem = InputProblem{nul, N_("holds a NUL byte")};
    }
    if (prepared.problem) prepared.text.clear();
    return prepared;
}

}  // namespace bbcolour::cli
