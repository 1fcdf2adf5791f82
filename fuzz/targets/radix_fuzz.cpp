// ConvertRadix on any digit text and bases -5..40, against GMP's own
// conversion of the normalised digits.
#include <gmp.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "bbcolour/radix.h"
#include "check.h"

namespace {

// GMP's reading of `digits` in base `from`, written in base `to`, upper case.
std::string GmpConvert(const std::string& digits, int from, int to) {
    mpz_t value;
    mpz_init(value);
    if (!digits.empty()) CHECK(mpz_set_str(value, digits.c_str(), from) == 0);
    std::string out(mpz_sizeinbase(value, to) + 2, '\0');
    mpz_get_str(out.data(), -to, value);
    out.resize(std::char_traits<char>::length(out.c_str()));
    mpz_clear(value);
    return out;
}

std::string WithoutLeadingZeros(const std::string& digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int a = data[0] % 46 - 5, b = data[1] % 46 - 5;
    const std::string original(reinterpret_cast<const char*>(data + 2), size - 2);
    std::string digits = original;
    const std::string result = bbcolour::ConvertRadix(digits, a, b);

    if (a < 2 || a > 36 || b < 2 || b > 36) {
        // 参数错误-进制只能在2-36之间, and the caller's text untouched.
        CHECK(result == "\xB2\xCE\xCA\xFD\xB4\xED\xCE\xF3-\xBD\xF8\xD6\xC6\xD6\xBB\xC4\xDC\xD4\xDA"
                        "2-36\xD6\xAE\xBC\xE4");
        CHECK(digits == original);
        return 0;
    }
    const std::string normalised = bbcolour::NormaliseDigits(original);
    CHECK(digits == normalised);
    bool valid = true;
    for (const char c : normalised) {
        const std::size_t value = bbcolour::DigitAlphabet.find(c);
        valid = valid && value != std::string_view::npos && value < static_cast<std::size_t>(a);
    }
    if (!valid) {
        // 参数错误-<digits>不是一个有效的<base>进制数！
        CHECK(result == std::string(bbcolour::RadixErrorPrefix) + normalised +
                            "\xB2\xBB\xCA\xC7\xD2\xBB\xB8\xF6\xD3\xD0\xD0\xA7\xB5\xC4" + bbcolour::BaseNumeral(a) +
                            "\xBD\xF8\xD6\xC6\xCA\xFD\xA3\xA1");
        return 0;
    }
    if (a == b) {
        CHECK(result == normalised);
        return 0;
    }
    CHECK(result == GmpConvert(normalised, a, b));
    std::string back = result;
    CHECK(bbcolour::ConvertRadix(back, b, a) == WithoutLeadingZeros(normalised));
    return 0;
}
