#include "bbcolour/charset.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace bbcolour::charset {

namespace {

struct CloseConverter {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

// A converter that stops at the first byte or character it cannot convert,
// instead of substituting.
Converter Open(const char* name, bool stopOnError) {
    UErrorCode status = U_ZERO_ERROR;
    Converter c(ucnv_open(name, &status));
    if (U_FAILURE(status)) throw std::runtime_error(std::string("no ") + name + " converter in ICU");
    if (stopOnError) {
        ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    }
    return c;
}

// End of the run of ASCII bytes that starts at `pos`, read a word at a time:
// both directions copy such runs as they are.
std::size_t AsciiRunEnd(std::string_view text, std::size_t pos) {
    std::uint64_t word;
    while (pos + 8 <= text.size()) {
        std::memcpy(&word, text.data() + pos, 8);
        if (word & 0x8080808080808080ull) break;
        pos += 8;
    }
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
    return pos;
}

// Packs up to 3 UTF-8 bytes with their count.
std::uint32_t Pack(const char* bytes, std::size_t length) {
    std::uint32_t packed = static_cast<std::uint32_t>(length) << 24;
    for (std::size_t i = 0; i < length; ++i)
        packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return packed;
}

void AppendCodePoint(std::uint32_t cp, std::string& utf8) {
    char b[4];
    std::size_t n;
    if (cp < 0x80) {
        b[0] = static_cast<char>(cp), n = 1;
    } else if (cp < 0x800) {
        b[0] = static_cast<char>(0xC0 | cp >> 6), b[1] = static_cast<char>(0x80 | (cp & 0x3F)), n = 2;
    } else if (cp < 0x10000) {
        b[0] = static_cast<char>(0xE0 | cp >> 12), b[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        b[2] = static_cast<char>(0x80 | (cp & 0x3F)), n = 3;
    } else {
        b[0] = static_cast<char>(0xF0 | cp >> 18), b[1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        b[2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F)), b[3] = static_cast<char>(0x80 | (cp & 0x3F)), n = 4;
    }
    utf8.append(b, n);
}

constexpr std::uint32_t kFirstSupplementaryIndex = 189000;  // linear index of 90 30 81 30 = U+10000
constexpr std::uint32_t kBmpQuadCount = 39420;              // 81 30 81 30 .. 84 31 A4 39 = up to U+FFFF

// Both directions of ICU's GB18030 table for the BMP, from one conversion of
// every BMP character; supplementary characters need no table.
struct BmpTable {
    std::vector<std::uint32_t> encode;  // by code point: GB18030 bytes (low first), length in the top 8 bits
    std::vector<std::uint32_t> pairs;   // by double-byte code: UTF-8 packed the same way
    std::vector<std::uint32_t> quads;   // by linear index of a four-byte code

    BmpTable() : encode(0x10000, 0), pairs(126 * 191, 0), quads(kBmpQuadCount, 0) {
        std::u16string all;
        for (char32_t cp = 0; cp < 0x10000; ++cp)
            if (cp < 0xD800 || cp > 0xDFFF) all += static_cast<char16_t>(cp);
        Converter to = Open("GB18030", true);
        std::string gb(all.size() * 4, '\0');
        UErrorCode status = U_ZERO_ERROR;
        const int32_t n = ucnv_fromUChars(to.get(), gb.data(), static_cast<int32_t>(gb.size()), all.data(),
                                          static_cast<int32_t>(all.size()), &status);
        if (U_FAILURE(status)) throw std::runtime_error("ICU cannot convert the BMP to GB18030");
        // GB18030 delimits itself: one byte below 0x80, four with a digit second, else two.
        std::size_t pos = 0;
        for (const char16_t cp : all) {
            const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gb[pos + i]); };
            const std::size_t length = byte(0) < 0x80 ? 1 : (byte(1) >= 0x30 && byte(1) <= 0x39) ? 4 : 2;
            std::uint32_t code = static_cast<std::uint32_t>(length) << 24;
            if (length == 4) {
                const std::uint32_t index =
                    (byte(0) - 0x81u) * 12600u + (byte(1) - 0x30u) * 1260u + (byte(2) - 0x81u) * 10u + (byte(3) - 0x30u);
                code = index | 0x80000000u;  // four-byte codes are kept as their linear index
                quads.at(index) = PackedUtf8(cp);
            } else {
                for (std::size_t i = 0; i < length; ++i) code |= static_cast<std::uint32_t>(byte(i)) << (8 * i);
                if (length == 2) pairs.at((byte(0) - 0x81u) * 191u + (byte(1) - 0x40u)) = PackedUtf8(cp);
            }
            encode[cp] = code;
            pos += length;
        }
        if (pos != static_cast<std::size_t>(n)) throw std::runtime_error("unexpected GB18030 table");
    }

    static std::uint32_t PackedUtf8(char32_t cp) {
        std::string one;
        AppendCodePoint(cp, one);
        return Pack(one.data(), one.size());
    }
};

const BmpTable& Table() {
    static const BmpTable table;
    return table;
}

// Appends the four-byte code with linear index `index`.
void AppendQuad(std::uint32_t index, std::string& gb) {
    const char b[4] = {static_cast<char>(0x81 + index / 12600), static_cast<char>(0x30 + index / 1260 % 10),
                       static_cast<char>(0x81 + index / 10 % 126), static_cast<char>(0x30 + index % 10)};
    gb.append(b, 4);
}

// Walks UTF-8, checking each sequence against Table 3-7 and, when `gb` is
// given, appending its GB18030 code. Returns the first bad offset.
std::optional<std::size_t> WalkUtf8(std::string_view text, std::string* gb) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const BmpTable* table = gb ? &Table() : nullptr;
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size) {
        const std::size_t end = AsciiRunEnd(text, pos);
        if (gb) gb->append(text.data() + pos, end - pos);
        pos = end;
        if (pos == size) break;

        const unsigned char lead = byte(pos);
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;  // range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
        } else {
            return pos;
        }
        if (size - pos < length || byte(pos + 1) < low || byte(pos + 1) > high) return pos;
        for (std::size_t i = 2; i < length; ++i)
            if ((byte(pos + i) & 0xC0) != 0x80) return pos;
        if (gb) {
            char32_t cp = lead & (0x7F >> length);
            for (std::size_t i = 1; i < length; ++i) cp = cp << 6 | (byte(pos + i) & 0x3F);
            if (cp >= 0x10000) {
                AppendQuad(kFirstSupplementaryIndex + (cp - 0x10000), *gb);
            } else if (const std::uint32_t code = table->encode[cp]; code & 0x80000000u) {
                AppendQuad(code & 0x7FFFFFFFu, *gb);
            } else {
                const char b[2] = {static_cast<char>(code), static_cast<char>(code >> 8)};
                gb->append(b, code >> 24);
            }
        }
        pos += length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> FirstInvalidUtf8(std::string_view utf8) { return WalkUtf8(utf8, nullptr); }

std::optional<std::size_t> AppendUtf8AsGb18030(std::string_view utf8, std::string& gb) {
    gb.reserve(gb.size() + utf8.size());
    return WalkUtf8(utf8, &gb);
}

std::string Utf16ToGb18030(std::u16string_view utf16) {
    // Unpaired surrogates are replaced first, so the result does not depend
    // on the converter's substitution rules.
    std::u16string repaired;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        const bool high = u >= 0xD800 && u <= 0xDBFF, low = u >= 0xDC00 && u <= 0xDFFF;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            ++i;
        } else if (high || low) {
            if (repaired.empty()) repaired.assign(utf16);
            repaired[i] = 0xFFFD;
        }
    }
    if (!repaired.empty()) utf16 = repaired;
    Converter to = Open("GB18030", true);
    std::string gb(utf16.size() * 4, '\0');  // at most 4 bytes per UTF-16 unit
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(to.get(), gb.data(), static_cast<int32_t>(gb.size()), utf16.data(),
                                      static_cast<int32_t>(utf16.size()), &status);
    if (U_FAILURE(status)) throw std::runtime_error("text that ICU cannot convert to GB18030");
    gb.resize(static_cast<std::size_t>(n));
    return gb;
}

namespace {

// Decodes valid GB18030 with the tables; false at the first byte sequence
// that is not, leaving `utf16` unspecified.
// Walks valid GB18030 with the tables, handing `sink` each ASCII run
// (Ascii(begin, end)), each BMP character as its packed UTF-8 table entry
// (Packed(entry)) and each supplementary one as its offset from U+10000
// (Supplementary(offset)). False at the first sequence that is not GB18030.
template <typename Sink>
bool DecodeGb18030(std::string_view gb, Sink& sink) {
    const BmpTable& table = Table();
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gb[i]); };
    std::size_t pos = 0;
    while (pos < gb.size()) {
        const std::size_t end = AsciiRunEnd(gb, pos);
        sink.Ascii(gb.data() + pos, gb.data() + end);
        pos = end;
        if (pos == gb.size()) break;

        const std::size_t left = gb.size() - pos;
        const unsigned char lead = byte(pos);
        const unsigned char second = left > 1 ? byte(pos + 1) : 0;
        if (lead < 0x81 || lead > 0xFE || left < 2) return false;
        if (second >= 0x40 && second <= 0xFE && second != 0x7F) {
            const std::uint32_t entry = table.pairs[(lead - 0x81u) * 191u + (second - 0x40u)];
            if (entry == 0) return false;  // a code ICU leaves unmapped
            sink.Packed(entry);
            pos += 2;
            continue;
        }
        const unsigned char third = left > 2 ? byte(pos + 2) : 0, fourth = left > 3 ? byte(pos + 3) : 0;
        if (second < 0x30 || second > 0x39 || third < 0x81 || third > 0xFE || fourth < 0x30 || fourth > 0x39)
            return false;
        const std::uint32_t index =
            (lead - 0x81u) * 12600u + (second - 0x30u) * 1260u + (third - 0x81u) * 10u + (fourth - 0x30u);
        if (index < kBmpQuadCount && table.quads[index] != 0) {
            sink.Packed(table.quads[index]);
        } else if (index >= kFirstSupplementaryIndex && index < kFirstSupplementaryIndex + 0x100000) {
            sink.Supplementary(index - kFirstSupplementaryIndex);
        } else {
            return false;
        }
        pos += 4;
    }
    return true;
}

// Writes UTF-16 to `out`, never more units than bytes.
struct Utf16Sink {
    char16_t* out;
    void Ascii(const char* begin, const char* end) {
        for (; begin < end; ++begin) *out++ = static_cast<char16_t>(static_cast<unsigned char>(*begin));
    }
    void Packed(std::uint32_t entry) {
        const std::uint32_t b0 = entry & 0xFF, b1 = (entry >> 8) & 0x3F, b2 = (entry >> 16) & 0x3F;
        switch (entry >> 24) {
            case 1: *out++ = static_cast<char16_t>(b0); break;
            case 2: *out++ = static_cast<char16_t>(((b0 & 0x1F) << 6) | b1); break;
            default: *out++ = static_cast<char16_t>(((b0 & 0x0F) << 12) | (b1 << 6) | b2);
        }
    }
    void Supplementary(std::uint32_t offset) {
        *out++ = static_cast<char16_t>(0xD800 + (offset >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    }
};

// Appends UTF-8 to `utf8`.
struct Utf8Sink {
    std::string& utf8;
    void Ascii(const char* begin, const char* end) { utf8.append(begin, end); }
    void Packed(std::uint32_t entry) {
        const char bytes[3] = {static_cast<char>(entry), static_cast<char>(entry >> 8), static_cast<char>(entry >> 16)};
        utf8.append(bytes, entry >> 24);
    }
    void Supplementary(std::uint32_t offset) { AppendCodePoint(0x10000 + offset, utf8); }
};

}  // namespace

std::size_t Gb18030ToUtf16(std::string_view gb, char16_t* out) {
    // Valid text, the usual case, through the tables; anything else through
    // ICU, which puts U+FFFD in place of what it cannot decode.
    if (Utf16Sink sink{out}; DecodeGb18030(gb, sink)) return static_cast<std::size_t>(sink.out - out);
    Converter from = Open("GB18030", false);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(from.get(), out, static_cast<int32_t>(gb.size() + 1), gb.data(),
                                    static_cast<int32_t>(gb.size()), &status);
    if (U_FAILURE(status)) throw std::runtime_error("ICU could not decode GB18030");
    return static_cast<std::size_t>(n);
}

std::u16string Gb18030ToUtf16(std::string_view gb) {
    std::u16string utf16(gb.size() + 1, u'\0');
    utf16.resize(Gb18030ToUtf16(gb, utf16.data()));
    return utf16;
}

std::optional<std::size_t> FirstInvalidByte(std::string_view bytes, LegacyCharset charset) {
    Converter from = Open(charset == LegacyCharset::Gb18030 ? "GB18030" : "GBK", true);
    char16_t buffer[1 << 14];
    const char* source = bytes.data();
    const char* end = bytes.data() + bytes.size();
    while (true) {
        char16_t* target = buffer;
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(from.get(), &target, buffer + std::size(buffer), &source, end, nullptr, true, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) continue;
        if (U_SUCCESS(status)) return std::nullopt;
        // The converter has consumed the bad bytes; it still holds them.
        char bad[32];
        int8_t length = sizeof bad;
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidChars(from.get(), bad, &length, &ignored);
        return static_cast<std::size_t>(source - bytes.data()) - static_cast<std::size_t>(length);
    }
}

void Gb18030ToUtf8::Append(std::string_view gb, std::string& utf8) {
    utf8.reserve(utf8.size() + gb.size() + gb.size() / 2);
    Utf8Sink sink{utf8};
    if (!DecodeGb18030(gb, sink)) throw std::runtime_error("not GB18030");
}

}  // namespace bbcolour::charset
