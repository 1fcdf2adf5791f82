#include "bbcolour/charset.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace bbcolour::charset {
namespace {

void AppendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
    } else if (cp < 0x10000) {
        out += {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)),
                static_cast<char>(0x80 | (cp & 0x3F))};
    } else {
        out += {static_cast<char>(0xF0 | cp >> 18), static_cast<char>(0x80 | (cp >> 12 & 0x3F)),
                static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    }
}

// Every Unicode scalar value but NUL: 1,112,063 characters.
struct AllCharacters {
    std::string utf8;
    std::u16string utf16;
    AllCharacters() {
        for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF) continue;
            AppendUtf8(cp, utf8);
            if (cp < 0x10000) {
                utf16 += static_cast<char16_t>(cp);
            } else {
                utf16 += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
                utf16 += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            }
        }
    }
};

TEST(CharsetTest, EveryCharacterRoundTripsThroughGb18030) {
    const AllCharacters all;
    ASSERT_FALSE(FirstInvalidUtf8(all.utf8));
    // The table-driven encoder against ICU's own conversion.
    std::string gb;
    ASSERT_FALSE(AppendUtf8AsGb18030(all.utf8, gb));
    EXPECT_FALSE(FirstInvalidByte(gb, LegacyCharset::Gb18030));
    EXPECT_TRUE(Utf16ToGb18030(all.utf16) == gb);
    EXPECT_TRUE(Gb18030ToUtf16(gb) == all.utf16);

    // The hand-written decoder against ICU, for every code point: twice, the
    // second time from its filled tables.
    Gb18030ToUtf8 decoder;
    for (int round = 0; round < 2; ++round) {
        std::string back;
        decoder.Append(gb, back);
        ASSERT_EQ(back.size(), all.utf8.size());
        EXPECT_TRUE(back == all.utf8);
    }
}

TEST(CharsetTest, KnownCodesAndThePrivateUseCharactersOtherTablesLack) {
    const struct {
        const char* utf8;
        const char* gb18030;
    } rows[] = {
        {"a\r\n", "a\r\n"},
        {"\xE4\xB8\xAD", "\xD6\xD0"},                  // 中
        {"\xF0\x9F\x98\x80", "\x94\x39\xFC\x36"},      // 😀, four bytes
        {"\xC2\x80", "\x81\x30\x81\x30"},              // U+0080, the first four-byte code
        {"\xEF\xBF\xBF", "\x84\x31\xA4\x39"},          // U+FFFF, the last BMP four-byte code
        {"\xF4\x8F\xBF\xBF", "\xE3\x32\x9A\x35"},      // U+10FFFF
    };
    for (const auto& row : rows) {
        std::string gb;
        EXPECT_FALSE(AppendUtf8AsGb18030(row.utf8, gb));
        EXPECT_EQ(gb, row.gb18030) << row.utf8;
        EXPECT_EQ(Utf16ToGb18030(Gb18030ToUtf16(row.gb18030)), row.gb18030);
    }
    // U+E78D..U+E796, U+E816.. and the rest: glibc's table refuses them.
    for (char32_t cp : {0xE78D, 0xE796, 0xE816, 0xE818, 0xE81E, 0xE826, 0xE82B, 0xE82C, 0xE831, 0xE832, 0xE83B,
                        0xE843, 0xE854, 0xE855, 0xE864}) {
        std::string utf8, gb, back;
        AppendUtf8(cp, utf8);
        EXPECT_FALSE(AppendUtf8AsGb18030(utf8, gb));
        Gb18030ToUtf8().Append(gb, back);
        EXPECT_EQ(back, utf8) << std::hex << static_cast<unsigned>(cp);
    }
}

TEST(CharsetTest, UnpairedSurrogatesAndBadBytesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16ToGb18030(u"a\xD800" "b\xDC00"), "a\x84\x31\xA4\x37" "b\x84\x31\xA4\x37");
    EXPECT_EQ(Utf16ToGb18030(u"\xD83D\xDE00"), "\x94\x39\xFC\x36");
    EXPECT_EQ(Gb18030ToUtf16("a\xFF" "b"), u"a\xFFFD" "b");
    EXPECT_EQ(Gb18030ToUtf16(""), u"");
}

TEST(CharsetTest, DecoderRefusesWhatIsNotGb18030) {
    for (const char* bad : {"\x81", "\x81\x30", "\x80", "\xFF\x40", "\x81\x30\x81", "\x84\x31\xA5\x30",
                            "\xE3\x32\x9A\x36", "\xFE\x39\xFE\x39"}) {
        std::string out;
        EXPECT_THROW(Gb18030ToUtf8().Append(bad, out), std::runtime_error) << testing::PrintToString(bad);
    }
}

}  // namespace
}  // namespace bbcolour::charset
