#include "bbcolour/colour_code.h"

#include <gtest/gtest.h>

#include <string>

#include "bbcolour/splitter.h"

namespace bbcolour {
namespace {

// The six hex digits of each tag, in order.
std::vector<std::string> Colours(const Text& code) {
    std::vector<std::string> colours;
    for (std::size_t pos = code.find("[color=#"); pos != Text::npos; pos = code.find("[color=#", pos + 1))
        colours.push_back(code.substr(pos + 8, 6));
    return colours;
}

TEST(RandomGeneratorTest, FirstDrawsGiveTheFixedSequence) {
    RandomGenerator generator;
    EXPECT_EQ(generator.State(), 1u);
    EXPECT_EQ(generator.RandomBetween(0, 255), 41);
    EXPECT_EQ(generator.RandomBetween(0, 255), 35);
    EXPECT_EQ(generator.RandomBetween(0, 255), 190);
    RandomGenerator raw;
    EXPECT_EQ(raw.Draw(), 41u);
    EXPECT_EQ(raw.Draw(), 18467u);
    EXPECT_EQ(raw.RandomBetween(10, 10), 10);
}

TEST(GenerateColourCodeTest, FirstTwelveColoursOfANewProcess) {
    RandomGenerator generator;
    EXPECT_EQ(Colours(GenerateColourCode("abcdefghijkl", generator)),
              (std::vector<std::string>{"2923BE", "84E16C", "D6AE52", "9049F1", "F1BBE9", "EBB3A6",
                                        "DB3C87", "0C3E99", "245E0D", "1C06B7", "47DEB3", "124DC8"}));
}

TEST(GenerateColourCodeTest, SuccessiveGenerationsContinueTheSequence) {
    RandomGenerator generator;
    EXPECT_EQ(GenerateColourCode("a", generator), "[color=#2923BE]a[/color]");
    EXPECT_EQ(GenerateColourCode("", generator), "");
    EXPECT_EQ(GenerateColourCode("ab", generator), "[color=#84E16C]a[/color][color=#D6AE52]b[/color]");
}

TEST(GenerateColourCodeTest, Examples) {
    struct Case {
        Text input, code;
    } cases[] = {
        {"\xD6\xD0\xCE\xC4", "[color=#2923BE]\xD6\xD0[/color][color=#84E16C]\xCE\xC4[/color]"},
        {"[", "[color=#2923BE][[/color]"},
        {"\r\n", "[color=#2923BE]\r[/color][color=#84E16C]\n[/color]"},
        {"{\xD6\xD0", "[color=#2923BE]{[/color][color=#84E16C]\xD6\xD0[/color]"},
        {"{a", "[color=#2923BE]{a[/color]"},
    };
    for (const auto& c : cases) {
        RandomGenerator generator;
        EXPECT_EQ(GenerateColourCode(c.input, generator), c.code);
    }
    RandomGenerator generator;
    const Text code = GenerateColourCode("abcdefgh", generator);
    EXPECT_TRUE(code.ends_with("[color=#0C3E99]h[/color]")) << code;
}

TEST(BuildColourTagTest, WritesTwoUpperCaseDigitsPerComponent) {
    EXPECT_EQ(BuildColourTag("41,35,190", "a"), "[color=#2923BE]a[/color]");
    EXPECT_EQ(BuildColourTag("0,7,255", "\xD6\xD0"), "[color=#0007FF]\xD6\xD0[/color]");
    EXPECT_EQ(BuildColourTag("12,62,153", "]"), "[color=#0C3E99]][/color]");
}

// The generator writes tags from a table; they must be exactly the tags
// that the decimal triple and the radix converter give, for every value.
TEST(GenerateColourCodeTest, MatchesTagsBuiltFromDecimalTriples) {
    Text input;
    for (int i = 0; i < 3000; ++i) input += (i % 7 == 0) ? "\xB0\xA1" : (i % 11 == 0 ? "{x" : "q");
    RandomGenerator drawing, reference;
    const Text code = GenerateColourCode(input, drawing);

    TextList units;
    SplitCharacters(input, units);
    Text expected;
    std::vector<bool> seen(256);
    for (const Text& unit : units) {
        std::string triple;
        for (int k = 0; k < 3; ++k) {
            const int v = reference.RandomBetween(0, 255);
            seen[static_cast<std::size_t>(v)] = true;
            triple += (k ? "," : "") + std::to_string(v);
        }
        expected += BuildColourTag(triple, unit);
    }
    EXPECT_EQ(code, expected);
    EXPECT_EQ(drawing.State(), reference.State());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 256);
}

TEST(GenerateColourCodeTest, PiecesOnUnitBoundariesGiveTheSameCode) {
    const Text input = "ab{\xD6\xD0\x94\x39\xFC\x36~\r\nz{q";
    RandomGenerator whole, pieces;
    const Text expected = GenerateColourCode(input, whole);
    Text code;
    for (std::size_t pos = 0; pos < input.size();) {
        const std::string_view rest = std::string_view(input).substr(pos);
        const std::size_t cut = UnitBoundaryFrom(rest, 2);
        AppendColourCode(rest.substr(0, cut), pieces, code);
        pos += cut;
    }
    EXPECT_EQ(code, expected);
}

TEST(ProcessRandomGeneratorTest, IsOneSharedSequence) {
    RandomGenerator& generator = ProcessRandomGenerator();
    EXPECT_EQ(&generator, &ProcessRandomGenerator());
    RandomGenerator copy = generator;
    const Text code = GenerateColourCode("x");
    EXPECT_EQ(code, GenerateColourCode("x", copy));
    EXPECT_EQ(generator.State(), copy.State());
}

}  // namespace
}  // namespace bbcolour
