#include "bbcolour/preview_html.h"

#include <gtest/gtest.h>

namespace bbcolour {
namespace {

// The HTML of one span, as the pieces read: opener, digits, closer, unit, end.
Text Span(const Text& digits, const Text& unit) {
    return "<span style=\"color:#" + digits + " \">" + unit + "</span>";
}

struct HtmlCase {
    const char* name;
    Text code;
    Text html;
};

class ConvertCodeToHtmlTest : public testing::TestWithParam<HtmlCase> {};

TEST_P(ConvertCodeToHtmlTest, ConvertsTags) {
    EXPECT_EQ(ConvertCodeToHtml(GetParam().code), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConvertCodeToHtmlTest,
    testing::Values(
        HtmlCase{"Empty", "", ""},
        HtmlCase{"OneTag", "[color=#2923BE]a[/color]", Span("2923BE", "a")},
        HtmlCase{"TwoTags", "[color=#84E16C]a[/color][color=#D6AE52]b[/color]",
                 Span("84E16C", "a") + Span("D6AE52", "b")},
        // A bracket typed by the user stays a bracket.
        HtmlCase{"ClosingBracketUnit", "[color=#2923BE]][/color]", Span("2923BE", "]")},
        HtmlCase{"OpeningBracketUnit", "[color=#2923BE][[/color]", Span("2923BE", "[")},
        HtmlCase{"BraceBracketUnit", "[color=#2923BE]}][/color]", Span("2923BE", "}]")},
        HtmlCase{"Gbk", "[color=#2923BE]\xD6\xD0[/color][color=#84E16C]\xCE\xC4[/color]",
                 Span("2923BE", "\xD6\xD0") + Span("84E16C", "\xCE\xC4")},
        // 註 is D4 5D: its trail byte is no bracket.
        HtmlCase{"TrailByteLikeBracket", "[color=#2923BE]\xD4\x5D[/color]", Span("2923BE", "\xD4\x5D")},
        // A lone high byte is a unit of its own (GBK's euro sign 0x80 before
        // a character, a high byte at the end); its closing tag still closes.
        HtmlCase{"LoneHighByteUnit", "[color=#2923BE]\xD6\xD0[/color][color=#84E16C]\x80[/color]",
                 Span("2923BE", "\xD6\xD0") + Span("84E16C", "\x80")},
        HtmlCase{"FourByteUnit", "[color=#2923BE]\x94\x39\xFC\x36[/color]", Span("2923BE", "\x94\x39\xFC\x36")},
        HtmlCase{"LineBreakUnits", "[color=#2923BE]\r[/color][color=#84E16C]\n[/color]",
                 Span("2923BE", "\r") + Span("84E16C", "\n")},
        HtmlCase{"NothingEscaped", "[color=#2923BE]<[/color][color=#84E16C]&\"[/color]",
                 Span("2923BE", "<") + Span("84E16C", "&\"")},
        HtmlCase{"PatternsMatchExactly", "[COLOR=#2923BE]a[/COLOR]", "[COLOR=#2923BE]a[/COLOR]"},
        // Inside a longer unit, a high byte without its partner takes the "["
        // of the closing tag; a unit of one high byte is closed.
        HtmlCase{"TornCharacter", "[color=#2923BE]{\xD6[/color][color=#84E16C]\xD0[/color]",
                 "<span style=\"color:#2923BE \">{\xD6[/color]" + Span("84E16C", "\xD0")},
        HtmlCase{"LoneHighByteAtEndKept", "a\xB0", "a\xB0"}),
    [](const auto& info) { return info.param.name; });

TEST(ConvertCodeToHtmlTest, SpanIsThirteenBytesLongerThanTag) {
    EXPECT_EQ(kSpanOpener.size(), 20u);
    EXPECT_EQ(kTagCloser, " \">");
    EXPECT_EQ(ConvertCodeToHtml("[color=#2923BE]a[/color]").size(), 37u);
}

}  // namespace
}  // namespace bbcolour
