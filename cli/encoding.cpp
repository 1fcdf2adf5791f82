#include "encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace bbcolour::cli {

namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("no converter from ") + from + " to " + to);
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Runs `text` through the converter in pieces; `sink` receives the output.
// Returns the offset of the first byte that does not convert, or nothing.
template <typename Sink>
std::optional<std::size_t> Convert(iconv_t cd, std::string_view text, Sink&& sink) {
    char buffer[1 << 16];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
        sink(buffer, static_cast<std::size_t>(out - buffer));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG)
            return static_cast<std::size_t>(in - text.data());  // EILSEQ, or EINVAL: cut short at the end
    }
    return std::nullopt;
}

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t Utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

}  // namespace

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
    const std::string invalid = std::string("is not valid ") + EncodingName(encoding);
    std::optional<std::size_t> bad;
    if (encoding == Encoding::Utf8) {
        Iconv cd("GB18030", "UTF-8");
        prepared.text.reserve(checked.size());
        bad = Convert(cd.get(), checked,
                      [&](const char* p, std::size_t n) { prepared.text.append(p, n); });
    } else {
        Iconv cd("UTF-8", EncodingName(encoding));
        bad = Convert(cd.get(), checked, [](const char*, std::size_t) {});
        if (!bad && nul == std::string::npos) prepared.text = std::move(input);
    }
    if (bad) {
        // Well-formed UTF-8 that still fails is a character GB18030 lacks
        // (a few private-use code points).
        const bool wellFormed = encoding == Encoding::Utf8 && Utf8SequenceLength(checked.substr(*bad)) > 0;
        prepared.problem = InputProblem{*bad, wellFormed ? "holds a character that GB18030 cannot represent" : invalid};
    } else if (nul != std::string::npos) {
        prepared.problem = InputProblem{nul, "holds a NUL byte"};
    }
    if (prepared.problem) prepared.text.clear();
    return prepared;
}

Gb18030ToUtf8::Gb18030ToUtf8()
    : converter_(iconv_open("UTF-8", "GB18030")), pairs_(126 * 191, 0) {
    if (converter_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GB18030 converter");
}

Gb18030ToUtf8::~Gb18030ToUtf8() { iconv_close(converter_); }

void Gb18030ToUtf8::AppendSlow(const char* character, std::size_t length, std::string& utf8) {
    char buffer[8];
    char* in = const_cast<char*>(character);
    char* out = buffer;
    std::size_t inLeft = length, outLeft = sizeof buffer;
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        throw std::runtime_error("not GB18030");
    utf8.append(buffer, static_cast<std::size_t>(out - buffer));
}

void Gb18030ToUtf8::Append(std::string_view gb, std::string& utf8) {
    utf8.reserve(utf8.size() + gb.size() + gb.size() / 2);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gb[i]); };
    std::size_t pos = 0;
    while (pos < gb.size()) {
        // A run of ASCII, a word at a time.
        std::size_t end = pos;
        while (end + 8 <= gb.size()) {
            std::uint64_t word;
            std::memcpy(&word, gb.data() + end, 8);
            if (word & 0x8080808080808080ull) break;
            end += 8;
        }
        while (end < gb.size() && byte(end) < 0x80) ++end;
        utf8.append(gb.data() + pos, end - pos);
        pos = end;
        if (pos == gb.size()) break;

        const unsigned char lead = byte(pos);
        const unsigned char trail = pos + 1 < gb.size() ? byte(pos + 1) : 0;
        if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
            std::uint32_t& entry = pairs_[(lead - 0x81u) * 191u + (trail - 0x40u)];
            if (entry == 0) {
                std::string one;
                AppendSlow(gb.data() + pos, 2, one);  // every double-byte code is in the BMP: 3 bytes at most
                std::uint32_t packed = static_cast<std::uint32_t>(one.size()) << 24;
                for (std::size_t i = 0; i < one.size(); ++i)
                    packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(one[i])) << (8 * i);
                entry = packed;
            }
            const char bytes[3] = {static_cast<char>(entry), static_cast<char>(entry >> 8),
                                   static_cast<char>(entry >> 16)};
            utf8.append(bytes, entry >> 24);
            pos += 2;
        } else {
            AppendSlow(gb.data() + pos, std::min<std::size_t>(4, gb.size() - pos), utf8);
            pos += 4;
        }
    }
}

}  // namespace bbcolour::cli
