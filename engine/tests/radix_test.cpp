#include "bbcolour/radix.h"

#include <gtest/gtest.h>

#include <random>

#include "bbcolour/big_decimal.h"
#include "gbk.h"

namespace bbcolour {
namespace {

const Text kBaseOutOfRange = Gbk("参数错误-进制只能在2-36之间");

Text InvalidDigit(const std::string& normalised, const std::string& numeral) {
    return Gbk("参数错误-" + normalised + "不是一个有效的" + numeral + "进制数！");
}

struct RadixCase {
    Text digits;
    int a, b;
    Text result;
    Text digitsAfter;
};

class ConvertRadixTest : public testing::TestWithParam<RadixCase> {};

TEST_P(ConvertRadixTest, ConvertsAndNormalises) {
    const auto& c = GetParam();
    Text digits = c.digits;
    EXPECT_EQ(ConvertRadix(digits, c.a, c.b), c.result);
    EXPECT_EQ(digits, c.digitsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConvertRadixTest,
    testing::Values(
        RadixCase{"255", 10, 16, "FF", "255"},
        RadixCase{"15", 10, 16, "F", "15"},
        RadixCase{"0", 10, 16, "0", "0"},
        RadixCase{"000", 10, 16, "0", "000"},
        RadixCase{"", 10, 16, "0", ""},
        RadixCase{"", 16, 16, "", ""},
        RadixCase{"00ff", 16, 10, "255", "00FF"},
        RadixCase{"00ff", 16, 16, "00FF", "00FF"},
        RadixCase{Gbk("２５５"), 10, 16, "FF", "255"},
        RadixCase{"Z", 36, 2, "100011", "Z"},
        RadixCase{Text(24, 'F'), 16, 10, "79228162514264337593543950335", Text(24, 'F')},
        // Either side of the 64-bit fast path.
        RadixCase{Text(16, 'F'), 16, 10, "18446744073709551615", Text(16, 'F')},
        RadixCase{"1" + Text(16, '0'), 16, 10, "18446744073709551616", "1" + Text(16, '0')},
        RadixCase{"1" + Text(50, '0'), 16, 10,
                  "1606938044258990275541962092341162602522202993782792835301376", "1" + Text(50, '0')},
        RadixCase{"1g", 16, 10, InvalidDigit("1G", "一十六"), "1G"},
        RadixCase{"12A", 10, 16, InvalidDigit("12A", "一十"), "12A"},
        RadixCase{"8", 8, 10, InvalidDigit("8", "八"), "8"},
        RadixCase{"-5", 10, 16, InvalidDigit("-5", "一十"), "-5"},
        RadixCase{"1G", 16, 16, InvalidDigit("1G", "一十六"), "1G"},
        RadixCase{Gbk("中"), 16, 10, InvalidDigit("中", "一十六"), Gbk("中")},
        RadixCase{"12", 1, 16, kBaseOutOfRange, "12"},
        RadixCase{"ff", 16, 37, kBaseOutOfRange, "ff"},
        RadixCase{"F\xB0", 16, 10, "15", "F"},
        RadixCase{Gbk("1　2"), 10, 16, InvalidDigit("1 2", "一十"), "1 2"}));

TEST(ConvertRadixTest, MessagesAreExactBytes) {
    Text digits = "1g";
    const Text message = ConvertRadix(digits, 16, 10);
    EXPECT_EQ(kBaseOutOfRange.size(), 27u);
    EXPECT_EQ(message.substr(0, RadixErrorPrefix.size()), RadixErrorPrefix);
    EXPECT_EQ(message.substr(message.size() - 2), "\xA3\xA1");  // full-width !, not 0x21
}

TEST(ConvertRadixTest, NormalisesFullWidthFormsAndStars) {
    EXPECT_EQ(NormaliseDigits(Gbk("ａｂｃＸ９")), "ABCX9");
    EXPECT_EQ(NormaliseDigits(Gbk("☆★　")), "** ");
    EXPECT_EQ(NormaliseDigits("\xA1\xAB"), "~");
    // The byte after a high byte is never upper-cased.
    EXPECT_EQ(NormaliseDigits("\xB0" "a" "b"), "\xB0" "aB");
}

TEST(ConvertRadixTest, LongInputsRoundTripExactly) {
    std::mt19937 random(7);
    for (int base : {10, 16, 2, 36}) {
        Text digits(10000, '0');
        for (char& c : digits) c = DigitAlphabet[random() % static_cast<unsigned>(base)];
        digits[0] = '1';
        Text copy = digits;
        Text converted = ConvertRadix(copy, base, base == 16 ? 10 : 16);
        EXPECT_EQ(ConvertRadix(converted, base == 16 ? 10 : 16, base), digits) << "base " << base;
    }
}

TEST(BaseNumeralTest, WritesEveryBaseInChineseNumerals) {
    const char* numerals[] = {"二", "三", "四", "五", "六", "七", "八", "九", "一十",
                              "一十一", "一十二", "一十三", "一十四", "一十五", "一十六", "一十七",
                              "一十八", "一十九", "二十", "二十一", "二十二", "二十三", "二十四",
                              "二十五", "二十六", "二十七", "二十八", "二十九", "三十", "三十一",
                              "三十二", "三十三", "三十四", "三十五", "三十六"};
    for (int base = 2; base <= 36; ++base) EXPECT_EQ(BaseNumeral(base), Gbk(numerals[base - 2])) << base;
}

TEST(BigDecimalTest, OperationsAreExact) {
    const BigDecimal zero, five(5), seventeen(17), big = BigDecimal::FromDigits(Text(30, '9'), 10);
    EXPECT_EQ(zero.ToString(), "0");
    EXPECT_EQ(BigDecimal(-42).ToString(), "-42");
    EXPECT_EQ((big * big + BigDecimal(1)).ToDigits(10), Text(29, '9') + "8" + Text(29, '0') + "2");
    EXPECT_TRUE(seventeen > five);
    EXPECT_FALSE(five > seventeen);
    EXPECT_FALSE(five > five);
    EXPECT_EQ(BigDecimal::Remainder(seventeen, five).ToString(), "2");
    EXPECT_EQ(BigDecimal::Divide(BigDecimal(1), BigDecimal(3), 10).ToString(), "0.3333333333");
    EXPECT_EQ(BigDecimal::Divide(BigDecimal(35), BigDecimal(36), 10).ToString(), "0.9722222222");
    EXPECT_EQ(BigDecimal::Divide(BigDecimal(100), BigDecimal(7), 10).IntegerPart().ToString(), "14");
    const BigDecimal fraction = BigDecimal::Divide(seventeen, BigDecimal(4), 10);  // 4.25
    EXPECT_EQ((fraction + BigDecimal(1)).ToString(), "5.2500000000");
    EXPECT_EQ(BigDecimal::Remainder(fraction, BigDecimal(2)).ToString(), "0.2500000000");
    EXPECT_EQ(BigDecimal(35).ToInt32(), 35);
    EXPECT_TRUE(BigDecimal(2) * BigDecimal(3) == BigDecimal(6));
}

}  // namespace
}  // namespace bbcolour
