#include "bbcolour/radix.h"

#include <array>

#include "bbcolour/big_decimal.h"

namespace bbcolour {

namespace {

// Code page 936 texts of the two messages.
constexpr std::string_view kBaseOutOfRange =
    "\xB2\xCE\xCA\xFD\xB4\xED\xCE\xF3-\xBD\xF8\xD6\xC6\xD6\xBB\xC4\xDC\xD4\xDA"
    "2-36\xD6\xAE\xBC\xE4";                                       // 参数错误-进制只能在2-36之间
constexpr std::string_view kIsNotAValid = "\xB2\xBB\xCA\xC7\xD2\xBB\xB8\xF6\xD3\xD0\xD0\xA7\xB5\xC4";  // 不是一个有效的
constexpr std::string_view kBaseNumber = "\xBD\xF8\xD6\xC6\xCA\xFD\xA3\xA1";  // 进制数！

// 一 二 三 四 五 六 七 八 九, then 十.
constexpr std::array<std::string_view, 10> kNumerals = {
    "",         "\xD2\xBB", "\xB6\xFE", "\xC8\xFD", "\xCB\xC4",
    "\xCE\xE5", "\xC1\xF9", "\xC6\xDF", "\xB0\xCB", "\xBE\xC5"};
constexpr std::string_view kTen = "\xCA\xAE";

// Digit value of an upper-case alphabet byte, or -1.
int DigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return -1;
}

bool IsValidFor(std::string_view digits, int base) {
    for (unsigned char c : digits) {
        const int v = DigitValue(c);
        if (v < 0 || v >= base) return false;
    }
    return true;
}

// Exact conversion while the value fits 64 bits; false when it does not.
bool ConvertInMachineWord(std::string_view digits, int a, int b, Text& out) {
    std::uint64_t value = 0;
    for (unsigned char c : digits) {
        if (__builtin_mul_overflow(value, static_cast<std::uint64_t>(a), &value) ||
            __builtin_add_overflow(value, static_cast<std::uint64_t>(DigitValue(c)), &value))
            return false;
    }
    char buffer[64];
    char* end = buffer + sizeof buffer;
    char* p = end;
    do {
        *--p = DigitAlphabet[value % static_cast<std::uint64_t>(b)];
        value /= static_cast<std::uint64_t>(b);
    } while (value != 0);
    out.assign(p, end);
    return true;
}

}  // namespace

Text BaseNumeral(std::int32_t base) {
    if (base < 2 || base > 36) return {};
    Text out;
    const int tens = base / 10, units = base % 10;
    if (tens > 0) {
        out += kNumerals[tens];
        out += kTen;
    }
    out += kNumerals[units];
    return out;
}

Text NormaliseDigits(const Text& digits) {
    // Half-width step: pairs that start with a high byte are mapped or kept.
    Text half;
    half.reserve(digits.size());
    for (std::size_t i = 0; i < digits.size();) {
        const unsigned char first = static_cast<unsigned char>(digits[i]);
        if (first < 0x80) {
            half += static_cast<char>(first);
            ++i;
            continue;
        }
        if (i + 1 == digits.size()) break;  // lone high byte: dropped
        const unsigned char second = static_cast<unsigned char>(digits[i + 1]);
        if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
            half += static_cast<char>(second - 0x80);
        } else if (first == 0xA1 && second == 0xA1) {
            half += ' ';
        } else if (first == 0xA1 && second == 0xAB) {
            half += '~';
        } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
            half += '*';
        } else {
            half += static_cast<char>(first);
            half += static_cast<char>(second);
        }
        i += 2;
    }
    // Upper-case step: the byte after a high byte is never touched.
    for (std::size_t i = 0; i < half.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(half[i]);
        if (c >= 0x80) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            half[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return half;
}

Text ConvertRadix(Text& digits, std::int32_t a, std::int32_t b) {
    if (a < 2 || b < 2 || a > 36 || b > 36) return Text(kBaseOutOfRange);
    digits = NormaliseDigits(digits);
    if (!IsValidFor(digits, a)) {
        Text message(RadixErrorPrefix);
        message += digits;
        message += kIsNotAValid;
        message += BaseNumeral(a);
        message += kBaseNumber;
        return message;
    }
    if (a == b) return digits;
    Text out;
    if (ConvertInMachineWord(digits, a, b, out)) return out;
    return BigDecimal::FromDigits(digits, a).ToDigits(b);
}

}  // namespace bbcolour
