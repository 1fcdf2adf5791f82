// Exact decimal numbers of any size, on GMP.
#pragma once

#include <cstdint>
#include <string_view>

#include <gmpxx.h>

#include "bbcolour/text.h"

namespace bbcolour {

// Value = mantissa / 10^scale, exactly. Only the operations the radix
// converter needs; each returns a new value.
class BigDecimal {
public:
    BigDecimal() = default;  // 0
    explicit BigDecimal(std::int32_t value) : mantissa_(static_cast<long>(value)) {}

    friend BigDecimal operator*(const BigDecimal& x, const BigDecimal& y);
    friend BigDecimal operator+(const BigDecimal& x, const BigDecimal& y);
    friend bool operator>(const BigDecimal& x, const BigDecimal& y);
    friend bool operator==(const BigDecimal& x, const BigDecimal& y);

    // x - y * trunc(x / y); y must not be 0.
    static BigDecimal Remainder(const BigDecimal& x, const BigDecimal& y);
    // x / y carried to `places` decimal places, further digits dropped.
    static BigDecimal Divide(const BigDecimal& x, const BigDecimal& y, int places);
    // The value with its fraction dropped, toward zero.
    BigDecimal IntegerPart() const;
    // The value as an integer; only meaningful for values that fit.
    std::int32_t ToInt32() const;

    // Whole number from digits already validated for `base` (2..36, either
    // case); an empty text gives 0. Sub-quadratic, unlike digit-by-digit.
    static BigDecimal FromDigits(std::string_view digits, int base);
    // Whole part in `base` (2..36), upper-case letters, no leading zeros.
    Text ToDigits(int base) const;

    // Plain decimal notation, for tests and diagnostics: "-12.50" keeps its scale.
    Text ToString() const;

private:
    BigDecimal(mpz_class mantissa, int scale) : mantissa_(std::move(mantissa)), scale_(scale) {}
    // The mantissa rescaled to `scale` (>= scale_).
    mpz_class MantissaAt(int scale) const;

    mpz_class mantissa_;
    int scale_ = 0;
};

}  // namespace bbcolour
