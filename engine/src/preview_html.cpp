#include "bbcolour/preview_html.h"

#include <algorithm>
#include <cstring>

namespace bbcolour {

namespace {

constexpr std::string_view kOpenPattern = "[color=#";
constexpr std::string_view kClosePattern = "[/color]";
// "[color=#", six digits, "]" and "[/color]" around the unit.
constexpr std::size_t kTagBytes = 8 + 6 + 1 + 8;
// Its span: opener, six digits, closer and "</span>" around the unit.
constexpr std::size_t kSpanBytes = 20 + 6 + 3 + 7;
static_assert(kSpanOpener.size() + 6 + kTagCloser.size() + kSpanEnd.size() == kSpanBytes);

bool MatchesAt(std::string_view text, std::size_t pos, std::string_view pattern) {
    return text.size() - pos >= pattern.size() && std::memcmp(text.data() + pos, pattern.data(), pattern.size()) == 0;
}

bool IsPlain(unsigned char b) { return b != '[' && b != ']' && b < 0x80; }

// Length of the tag "[color=#" + six plain bytes + "]" + a unit of up to four
// bytes + "[/color]" that starts at `pos`, or 0. The unit is taken character
// by character, as the general scan would; no pattern can start inside a
// unit that short and still leave the closing tag where it is, so the general
// scan would produce exactly the pieces of one span. The one exception is a
// unit of a single high byte, which the splitter makes and which only this
// path closes properly.
std::size_t WholeTagAt(std::string_view code, std::size_t pos) {
    const std::size_t left = code.size() - pos;
    if (left < kTagBytes + 1 || std::memcmp(code.data() + pos, kOpenPattern.data(), 8) != 0) return 0;
    const char* digits = code.data() + pos + 8;
    for (int i = 0; i < 6; ++i)
        if (!IsPlain(static_cast<unsigned char>(digits[i]))) return 0;
    if (digits[6] != ']') return 0;
    constexpr std::size_t unitStart = 15;
    // A unit of one high byte (0x80 or 0xFF before another high byte, or a
    // high byte that ended the text) is closed right after it; read as a
    // character it would swallow the "[" of its closing tag.
    if (static_cast<unsigned char>(code[pos + unitStart]) >= 0x80 &&
        std::memcmp(code.data() + pos + unitStart + 1, kClosePattern.data(), 8) == 0)
        return kTagBytes + 1;
    std::size_t unit = 0;
    while (unit < 4) {
        unit += static_cast<unsigned char>(code[pos + unitStart + unit]) >= 0x80 ? 2 : 1;
        if (left < unitStart + unit + 8) return 0;
        if (std::memcmp(code.data() + pos + unitStart + unit, kClosePattern.data(), 8) == 0)
            return kTagBytes + unit;
    }
    return 0;
}

// Appends raw bytes to a text through a pointer, growing it when needed;
// Finish() cuts the text to what was written.
class Output {
public:
    Output(Text& text, std::size_t estimate) : text_(text) {
        text_.resize(estimate);
        p_ = text_.data();
        end_ = p_ + text_.size();
    }
    // Room for `n` more bytes; returns where to write them.
    char* Room(std::size_t n) {
        if (static_cast<std::size_t>(end_ - p_) < n) {
            const std::size_t used = static_cast<std::size_t>(p_ - text_.data());
            text_.resize(std::max(text_.size() * 2, used + n));
            p_ = text_.data() + used;
            end_ = text_.data() + text_.size();
        }
        return p_;
    }
    void Advance(std::size_t n) { p_ += n; }
    void Put(std::string_view bytes) {
        std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
        p_ += bytes.size();
    }
    void Finish() { text_.resize(static_cast<std::size_t>(p_ - text_.data())); }

private:
    Text& text_;
    char* p_;
    char* end_;
};

// Writes the span of a whole tag of `tagLength` bytes at `tag`. Every copy
// has a fixed size, so none becomes a call: the digits are copied with the
// two bytes after them, and the unit as four bytes; the pieces written after
// each overwrite what was copied too much. The source always has the eight
// bytes of "[/color]" after the unit to read from.
void PutSpan(Output& out, const char* tag, std::size_t tagLength) {
    const std::size_t unit = tagLength - kTagBytes;
    char* p = out.Room(kSpanBytes + 4);
    std::memcpy(p, kSpanOpener.data(), 20);
    std::memcpy(p + 20, tag + 8, 8);
    std::memcpy(p + 26, kTagCloser.data(), 3);
    std::memcpy(p + 29, tag + 15, 4);
    std::memcpy(p + 29 + unit, kSpanEnd.data(), 7);
    out.Advance(kSpanBytes + unit);
}

// One scan that does the work of three replacement passes ("[color=#", then
// "[/color]", then the "]" of each opening tag): none of the patterns can
// overlap another, so testing them in that order at each character boundary
// gives the same result as running the passes one after the other.
void Convert(std::string_view code, Output& out) {
    bool inOpeningTag = false;
    std::size_t pos = 0;
    while (pos < code.size()) {
        const unsigned char c = static_cast<unsigned char>(code[pos]);
        if (c == '[') {
            if (const std::size_t tag = WholeTagAt(code, pos)) {
                PutSpan(out, code.data() + pos, tag);  // the usual case
                pos += tag;
                continue;
            }
            if (MatchesAt(code, pos, kOpenPattern)) {
                out.Put(kSpanOpener);
                pos += kOpenPattern.size();
                inOpeningTag = true;
                continue;
            }
            if (MatchesAt(code, pos, kClosePattern)) {
                out.Put(kSpanEnd);
                pos += kClosePattern.size();
                continue;
            }
        } else if (c == ']' && inOpeningTag) {
            out.Put(kTagCloser);
            ++pos;
            inOpeningTag = false;
            continue;
        }
        // Copy up to the next byte that may start a match, keeping character
        // boundaries: a high byte carries the byte after it along.
        std::size_t end = pos;
        while (end < code.size()) {
            const unsigned char b = static_cast<unsigned char>(code[end]);
            if (b >= 0x80) {
                end += 2;
            } else if ((b == '[' || b == ']') && end != pos) {
                break;
            } else {
                ++end;
            }
        }
        end = std::min(end, code.size());  // a lone high byte at the end is kept
        out.Put(code.substr(pos, end - pos));
        pos = end;
    }
}

}  // namespace

Text ConvertCodeToHtml(const Text& code) {
    Text html;
    // A generated tag of 23 bytes plus its unit grows by 13 bytes: for
    // one-byte units the estimate is exact, longer units leave a little spare.
    Output out(html, code.size() + code.size() / 23 * 13 + 64);
    Convert(code, out);
    out.Finish();
    return html;
}

}  // namespace bbcolour
