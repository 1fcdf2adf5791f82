#include "bbcolour/splitter.h"

#include <gtest/gtest.h>

namespace bbcolour {
namespace {

struct SplitCase {
    const char* name;
    Text input;
    TextList units;
};

class SplitCharactersTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCharactersTest, CutsIntoUnits) {
    const auto& c = GetParam();
    TextList units = {"left over from an earlier call"};
    SplitCharacters(c.input, units);
    EXPECT_EQ(units, c.units);
    EXPECT_EQ(CountUnits(c.input), c.units.size());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitCharactersTest,
    testing::Values(
        SplitCase{"Empty", "", {}},
        SplitCase{"OneLetter", "a", {"a"}},
        SplitCase{"LastByteKept", "abc", {"a", "b", "c"}},
        SplitCase{"GbkPairs", "\xD6\xD0\xCE\xC4", {"\xD6\xD0", "\xCE\xC4"}},
        SplitCase{"AsciiAroundGbk", "a\xD6\xD0" "b", {"a", "\xD6\xD0", "b"}},
        SplitCase{"BraceTakesLetter", "z{a", {"z", "{a"}},
        SplitCase{"BracesPairUp", "a{b}c", {"a", "{b", "}c"}},
        SplitCase{"TildeLast", "x~", {"x", "~"}},
        SplitCase{"TildeAlone", "~", {"~"}},
        SplitCase{"LineBreak", "a\r\nb", {"a", "\r", "\n", "b"}},
        SplitCase{"TildeTakesCr", "~\r\n", {"~\r", "\n"}},
        SplitCase{"HighByteTakesAscii", "\xB0" "a", {"\xB0" "a"}},
        SplitCase{"LoneLeadByte", "\xD6", {"\xD6"}},
        SplitCase{"TrailBelow0x80", "\xD4\x5D", {"\xD4\x5D"}},
        // A brace before a double-byte character stands alone, so the
        // character is not torn across two tags.
        SplitCase{"BraceBeforeGbk", "{\xD6\xD0", {"{", "\xD6\xD0"}},
        SplitCase{"DelBeforeGbk", "\x7F\xD6\xD0", {"\x7F", "\xD6\xD0"}},
        SplitCase{"EuroBeforeGbk", "\x80\xD6\xD0", {"\x80", "\xD6\xD0"}},
        SplitCase{"EuroTakesAscii", "\x80" "a", {"\x80" "a"}},
        // Four-byte GB18030 sequences (here U+1F600 and U+20000) stay whole.
        SplitCase{"FourByteSequence", "\x94\x39\xFC\x36" "a", {"\x94\x39\xFC\x36", "a"}},
        SplitCase{"TildeBeforeFourByte", "~\x95\x32\x82\x36", {"~", "\x95\x32\x82\x36"}},
        SplitCase{"ThreeBytesAreNoFourByteUnit", "\x81\x30\x81", {"\x81\x30", "\x81"}},
        SplitCase{"FourthByteNotDigit", "\x81\x30\x81\x41", {"\x81\x30", "\x81\x41"}}),
    [](const auto& info) { return info.param.name; });

TEST(UnitBoundaryFromTest, NeverCutsInsideAUnit) {
    const Text text = "a\xD6\xD0\x94\x39\xFC\x36{b";
    EXPECT_EQ(UnitBoundaryFrom(text, 0), 0u);
    EXPECT_EQ(UnitBoundaryFrom(text, 2), 3u);   // inside 中
    EXPECT_EQ(UnitBoundaryFrom(text, 4), 7u);   // inside the four-byte unit
    EXPECT_EQ(UnitBoundaryFrom(text, 8), 9u);   // inside "{b"
    EXPECT_EQ(UnitBoundaryFrom(text, 100), text.size());
}

}  // namespace
}  // namespace bbcolour
