#include "encoding.h"

#include <gtest/gtest.h>


namespace bbcolour::cli {
namespace {

struct ProblemCase {
    const char* name;
    std::string input;
    Encoding encoding;
    std::size_t offset;
    std::string what;
};

class PrepareInputProblemTest : public testing::TestWithParam<ProblemCase> {};

TEST_P(PrepareInputProblemTest, NamesTheFirstProblemAndItsOffset) {
    const auto& c = GetParam();
    const Prepared prepared = PrepareInput(c.input, c.encoding);
    ASSERT_TRUE(prepared.problem);
    EXPECT_EQ(prepared.problem->offset, c.offset);
    EXPECT_EQ(prepared.problem->what, c.what);
    EXPECT_TRUE(prepared.text.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrepareInputProblemTest,
    testing::Values(
        ProblemCase{"Utf8StrayByte", "ab\xFF" "c", Encoding::Utf8, 2, "is not valid UTF-8"},
        ProblemCase{"Utf8Surrogate", "\xE4\xB8\xAD\xED\xA0\x80", Encoding::Utf8, 3, "is not valid UTF-8"},
        ProblemCase{"Utf8Overlong", "\xC0\x80", Encoding::Utf8, 0, "is not valid UTF-8"},
        ProblemCase{"Utf8CutShort", "ab\xE4\xB8", Encoding::Utf8, 2, "is not valid UTF-8"},
        ProblemCase{"Utf8TooHigh", "\xF4\x90\x80\x80", Encoding::Utf8, 0, "is not valid UTF-8"},
        ProblemCase{"Utf8Nul", std::string("ab\0c", 4), Encoding::Utf8, 2, "holds a NUL byte"},
        ProblemCase{"EncodingErrorBeforeNul", std::string("\xFF\0", 2), Encoding::Utf8, 0, "is not valid UTF-8"},
        ProblemCase{"Gb18030BadTrail", "a\xD6\x20", Encoding::Gb18030, 1, "is not valid GB18030"},
        ProblemCase{"Gb18030CutShort", "a\x81\x30\x81", Encoding::Gb18030, 1, "is not valid GB18030"},
        ProblemCase{"GbkHasNoFourByte", "\xD6\xD0\x94\x39\xFC\x36", Encoding::Gbk, 2, "is not valid GBK"},
        ProblemCase{"GbkNul", std::string("\xD6\xD0\0", 3), Encoding::Gbk, 2, "holds a NUL byte"}),
    [](const auto& info) { return info.param.name; });

TEST(PrepareInputTest, ConvertsUtf8AndPassesOtherBytesThrough) {
    EXPECT_EQ(PrepareInput("a\xE4\xB8\xAD\xF0\x9F\x98\x80\r\n", Encoding::Utf8).text,
              "a\xD6\xD0\x94\x39\xFC\x36\r\n");
    EXPECT_EQ(PrepareInput("\xD6\xD0\x94\x39\xFC\x36", Encoding::Gb18030).text, "\xD6\xD0\x94\x39\xFC\x36");
    EXPECT_EQ(PrepareInput("\xD6\xD0", Encoding::Gbk).text, "\xD6\xD0");
    // Private-use characters that some GB18030 tables lack are taken too.
    EXPECT_EQ(PrepareInput("\xEE\x9E\x8D", Encoding::Utf8).text.size(), 2u);
    EXPECT_FALSE(PrepareInput("", Encoding::Utf8).problem);
}

TEST(ParseEncodingTest, KnowsTheThreeNames) {
    EXPECT_EQ(ParseEncoding("utf-8"), Encoding::Utf8);
    EXPECT_EQ(ParseEncoding("UTF8"), Encoding::Utf8);
    EXPECT_EQ(ParseEncoding("GB18030"), Encoding::Gb18030);
    EXPECT_EQ(ParseEncoding("gbk"), Encoding::Gbk);
    EXPECT_FALSE(ParseEncoding("latin1"));
}

}  // namespace
}  // namespace bbcolour::cli
