#include "bbcolour/big_decimal.h"

#include <algorithm>
#include <string>

namespace bbcolour {

namespace {
mpz_class PowerOfTen(int exponent) {
    mpz_class result;
    mpz_ui_pow_ui(result.get_mpz_t(), 10, static_cast<unsigned long>(exponent));
    return result;
}
}  // namespace

mpz_class BigDecimal::MantissaAt(int scale) const {
    return scale == scale_ ? mantissa_ : mantissa_ * PowerOfTen(scale - scale_);
}

BigDecimal operator*(const BigDecimal& x, const BigDecimal& y) {
    return BigDecimal(x.mantissa_ * y.mantissa_, x.scale_ + y.scale_);
}

BigDecimal operator+(const BigDecimal& x, const BigDecimal& y) {
    const int scale = std::max(x.scale_, y.scale_);
    return BigDecimal(x.MantissaAt(scale) + y.MantissaAt(scale), scale);
}

bool operator>(const BigDecimal& x, const BigDecimal& y) {
    const int scale = std::max(x.scale_, y.scale_);
    return x.MantissaAt(scale) > y.MantissaAt(scale);
}

bool operator==(const BigDecimal& x, const BigDecimal& y) {
    const int scale = std::max(x.scale_, y.scale_);
    return x.MantissaAt(scale) == y.MantissaAt(scale);
}

BigDecimal BigDecimal::Remainder(const BigDecimal& x, const BigDecimal& y) {
    const int scale = std::max(x.scale_, y.scale_);
    mpz_class r;
    mpz_tdiv_r(r.get_mpz_t(), x.MantissaAt(scale).get_mpz_t(), y.MantissaAt(scale).get_mpz_t());
    return BigDecimal(r, scale);
}

BigDecimal BigDecimal::Divide(const BigDecimal& x, const BigDecimal& y, int places) {
    // x / y = (mx / 10^sx) / (my / 10^sy); scaled by 10^places and truncated.
    mpz_class numerator = x.mantissa_ * PowerOfTen(places + y.scale_);
    mpz_class denominator = y.mantissa_ * PowerOfTen(x.scale_);
    mpz_class q;
    mpz_tdiv_q(q.get_mpz_t(), numerator.get_mpz_t(), denominator.get_mpz_t());
    return BigDecimal(q, places);
}

BigDecimal BigDecimal::IntegerPart() const {
    if (scale_ == 0) return *this;
    mpz_class q;
    mpz_tdiv_q(q.get_mpz_t(), mantissa_.get_mpz_t(), PowerOfTen(scale_).get_mpz_t());
    return BigDecimal(q, 0);
}

std::int32_t BigDecimal::ToInt32() const {
    return static_cast<std::int32_t>(IntegerPart().mantissa_.get_si());
}

BigDecimal BigDecimal::FromDigits(std::string_view digits, int base) {
    if (digits.empty()) return BigDecimal();
    mpz_class value;
    mpz_set_str(value.get_mpz_t(), std::string(digits).c_str(), base);
    return BigDecimal(value, 0);
}

Text BigDecimal::ToDigits(int base) const {
    const mpz_class whole = IntegerPart().mantissa_;
    // A negative base makes GMP write upper-case letters.
    Text out(mpz_sizeinbase(whole.get_mpz_t(), base) + 2, '\0');
    mpz_get_str(out.data(), -base, whole.get_mpz_t());
    out.resize(out.find('\0'));
    return out;
}

Text BigDecimal::ToString() const {
    const bool negative = mantissa_ < 0;
    mpz_class magnitude = abs(mantissa_);
    std::string digits = magnitude.get_str();
    if (scale_ > 0) {
        if (digits.size() <= static_cast<std::size_t>(scale_))
            digits.insert(0, static_cast<std::size_t>(scale_) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(scale_), ".");
    }
    return negative ? "-" + digits : digits;
}

}  // namespace bbcolour
