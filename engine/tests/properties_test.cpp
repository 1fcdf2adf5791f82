// Properties that must hold for every valid input, checked on random texts
// mixing ASCII, GBK, four-byte GB18030, brackets, { | } ~ and line breaks.
#include <gtest/gtest.h>
#include <iconv.h>

#include <random>

#include "bbcolour/colour_code.h"
#include "bbcolour/preview_html.h"
#include "bbcolour/splitter.h"

namespace bbcolour {
namespace {

Text RandomText(std::mt19937& random) {
    static const char* const pieces[] = {"a", "Z", "0", " ", "[", "]", "{", "|", "}", "~", "\r\n", "<",
                                         "\xD6\xD0", "\xCE\xC4", "\xD4\x5D", "\x81\x40", "\xA3\xA1",
                                         "\x94\x39\xFC\x36", "\x95\x32\x82\x36", "\x81\x30\x81\x30"};
    const std::size_t count = random() % 120;
    Text text;
    for (std::size_t i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
    return text;
}

bool IsValidGb18030(const Text& text) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    char* outPtr = out.data();
    std::size_t inLeft = text.size(), outLeft = out.size();
    const bool ok = iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok && inLeft == 0;
}

struct Tag {
    std::string colour;
    Text unit;
};

// Reads the markup back as tags; fails the test on anything else.
std::vector<Tag> ParseTags(const Text& code) {
    std::vector<Tag> tags;
    std::size_t pos = 0;
    while (pos < code.size()) {
        EXPECT_EQ(code.compare(pos, 8, "[color=#"), 0) << "at " << pos;
        const std::string colour = code.substr(pos + 8, 6);
        EXPECT_EQ(colour.find_first_not_of("0123456789ABCDEF"), std::string::npos) << colour;
        EXPECT_EQ(code[pos + 14], ']');
        const std::size_t end = code.find("[/color]", pos + 15);
        if (end == Text::npos) {
            ADD_FAILURE() << "unclosed tag at " << pos;
            break;
        }
        tags.push_back({colour, code.substr(pos + 15, end - pos - 15)});
        pos = end + 8;
    }
    return tags;
}

TEST(PropertiesTest, HoldForRandomValidTexts) {
    std::mt19937 random(2923);
    RandomGenerator generator, reference;
    for (int round = 0; round < 400; ++round) {
        const Text input = RandomText(random);
        ASSERT_TRUE(IsValidGb18030(input));

        TextList units;
        SplitCharacters(input, units);
        Text joined;
        for (const Text& unit : units) {
            joined += unit;
            EXPECT_TRUE(unit.size() == 1 || unit.size() == 2 || unit.size() == 4);
        }
        ASSERT_EQ(joined, input);

        const Text code = GenerateColourCode(input, generator);
        EXPECT_EQ(code.size(), kTagOverhead * units.size() + input.size());
        for (std::size_t i = 0; i < 3 * units.size(); ++i) reference.Draw();
        EXPECT_EQ(generator.State(), reference.State()) << "three draws per unit";

        const std::vector<Tag> tags = ParseTags(code);
        ASSERT_EQ(tags.size(), units.size());
        Text html;
        for (std::size_t i = 0; i < tags.size(); ++i) {
            EXPECT_EQ(tags[i].unit, units[i]);
            html += Text(kSpanOpener) + tags[i].colour + Text(kTagCloser) + units[i] + Text(kSpanEnd);
        }
        EXPECT_EQ(ConvertCodeToHtml(code), html);
        EXPECT_TRUE(IsValidGb18030(code));
        EXPECT_TRUE(IsValidGb18030(html));
        if (HasFailure()) {
            ADD_FAILURE() << "input: " << testing::PrintToString(input);
            return;
        }
    }
}

}  // namespace
}  // namespace bbcolour
