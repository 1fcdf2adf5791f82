// bbcolour-cli as a process: what a script sees on its streams and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "bbcolour/colour_code.h"
#include "bbcolour/charset.h"
#include "encoding.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

class CliTest : public testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/bbcolour-cli-test-XXXXXX";
        dir_ = mkdtemp(tmpl);
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // Runs the tool with `args` (shell words) and `stdinBytes` on standard
    // input, in `locale` (whatever the test's own environment says).
    Result Run(const std::string& args, const std::string& stdinBytes = "", const std::string& locale = "C.UTF-8") {
        const std::string in = Write("stdin", stdinBytes);
        const std::string command = "env -u LANGUAGE LC_ALL=" + locale + " " + BBCOLOUR_CLI + " " + args + " <'" +
                                    in + "' >'" + dir_ + "/out' 2>'" + dir_ + "/err'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir_ + "/out"), Slurp(dir_ + "/err")};
    }

    std::string dir_;
};

TEST_F(CliTest, ColoursUtf8FromStandardInput) {
    const Result r = Run("", "a\xE4\xB8\xAD\r\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "[color=#2923BE]a[/color][color=#84E16C]\xE4\xB8\xAD[/color]"
              "[color=#D6AE52]\r[/color][color=#9049F1]\n[/color]");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, EachRunStartsTheSequenceAfresh) {
    const std::string file = Write("in.txt", "ab");
    const std::string expected = "[color=#2923BE]a[/color][color=#84E16C]b[/color]";
    EXPECT_EQ(Run("'" + file + "'").out, expected);
    EXPECT_EQ(Run("--encoding utf-8 -- '" + file + "'").out, expected);
}

TEST_F(CliTest, PassesGbBytesThrough) {
    const std::string emoji = "\x94\x39\xFC\x36";
    EXPECT_EQ(Run("--encoding gb18030", "\xD6\xD0" + emoji).out,
              "[color=#2923BE]\xD6\xD0[/color][color=#84E16C]" + emoji + "[/color]");
    EXPECT_EQ(Run("--encoding=gbk", "{\xD6\xD0").out, "[color=#2923BE]{[/color][color=#84E16C]\xD6\xD0[/color]");
}

TEST_F(CliTest, WritesPreviewHtml) {
    const Result r = Run("--html", "]\xF0\x9F\x98\x80");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "<span style=\"color:#2923BE \">]</span>"
              "<span style=\"color:#84E16C \">\xF0\x9F\x98\x80</span>");
}

TEST_F(CliTest, LargeInputGivesTheSameCodeAsOneGeneration) {
    // Far more than one internal piece: the sequence must run on unbroken.
    std::string gb, utf8;
    for (int i = 0; i < 40000; ++i) {
        gb += "a{b\xD6\xD0~\r\n";
        utf8 += "a{b\xE4\xB8\xAD~\r\n";
    }
    bbcolour::RandomGenerator generator;
    const std::string code = bbcolour::GenerateColourCode(gb, generator);
    std::string expected;
    bbcolour::charset::Gb18030ToUtf8().Append(code, expected);

    const Result r = Run("", utf8);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out == expected);
    EXPECT_TRUE(Run("--encoding gb18030", gb).out == code);
}

// Every Unicode scalar value but NUL, in one text: the units between the
// tags give back exactly the input.
TEST_F(CliTest, EveryCharacterSurvives) {
    std::string all;
    for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        if (cp < 0x80) {
            all += static_cast<char>(cp);
        } else if (cp < 0x800) {
            all += {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
        } else if (cp < 0x10000) {
            all += {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (cp & 0x3F))};
        } else {
            all += {static_cast<char>(0xF0 | cp >> 18), static_cast<char>(0x80 | (cp >> 12 & 0x3F)),
                    static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
        }
    }
    const Result r = Run("", all);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string units;
    std::size_t tags = 0;
    for (std::size_t pos = 0; pos < r.out.size(); ++tags) {
        ASSERT_EQ(r.out.compare(pos, 8, "[color=#"), 0) << "at " << pos;
        const std::size_t end = r.out.find("[/color]", pos + 16);
        ASSERT_NE(end, std::string::npos);
        units.append(r.out, pos + 15, end - pos - 15);
        pos = end + 8;
    }
    EXPECT_EQ(tags, 1112063u - 2);  // "{|" and "}~" are units of two bytes
    EXPECT_TRUE(units == all);
}

struct FailureCase {
    const char* name;
    std::string args;
    std::string input;
    int status;
    std::string errorStart;
};

class CliFailureTest : public CliTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(CliFailureTest, ReportsOnStandardErrorAndWritesNothing) {
    const auto& c = GetParam();
    const Result r = Run(c.args, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.substr(0, c.errorStart.size()), c.errorStart) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliFailureTest,
    testing::Values(
        FailureCase{"InvalidUtf8", "", "abc\xFF", 1, "bbcolour-cli: input is not valid UTF-8 at byte offset 3\n"},
        FailureCase{"NulByte", "", std::string("a\0", 2), 1, "bbcolour-cli: input holds a NUL byte at byte offset 1\n"},
        FailureCase{"InvalidGbk", "--encoding gbk", "\x94\x39\xFC\x36", 1,
                    "bbcolour-cli: input is not valid GBK at byte offset 0\n"},
        FailureCase{"MissingFile", "/nonexistent/file", "", 1,
                    "bbcolour-cli: cannot read '/nonexistent/file': No such file or directory\n"},
        FailureCase{"Directory", "/", "", 1, "bbcolour-cli: cannot read '/': Is a directory\n"},
        FailureCase{"UnknownOption", "--colour", "", 2, "bbcolour-cli: unknown option '--colour'\nUsage: "},
        FailureCase{"UnknownEncoding", "--encoding latin1", "", 2, "bbcolour-cli: unknown encoding 'latin1'\n"},
        FailureCase{"EncodingWithoutValue", "--encoding", "", 2, "bbcolour-cli: option '--encoding' needs a value\n"},
        FailureCase{"TwoFiles", "a b", "", 2, "bbcolour-cli: only one FILE may be given\n"}),
    [](const auto& info) { return info.param.name; });

TEST_F(CliTest, HelpAndVersion) {
    const Result help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: bbcolour-cli", 0), 0u);
    const Result version = Run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("bbcolour-cli ", 0), 0u);
}

// English by default; Chinese in a zh_CN locale, from the catalogue that the
// build tree keeps beside the program.
TEST_F(CliTest, SpeaksTheUsersLanguage) {
    EXPECT_EQ(Run("--colour").err.substr(0, 40), "bbcolour-cli: unknown option '--colour'\n");
    const Result chinese = Run("--colour", "", "zh_CN.UTF-8");
    EXPECT_EQ(chinese.status, 2);
    EXPECT_EQ(chinese.err,
              "bbcolour-cli: \xE6\x9C\xAA\xE7\x9F\xA5\xE7\x9A\x84\xE9\x80\x89\xE9\xA1\xB9\xE2\x80\x9C--colour"
              "\xE2\x80\x9D\n"  // 未知的选项“--colour”
              "\xE7\x94\xA8\xE6\xB3\x95\xEF\xBC\x9A"                  // 用法：
              "bbcolour-cli [--html] [--encoding utf-8|gb18030|gbk] [\xE6\x96\x87\xE4\xBB\xB6]\n"  // [文件]
              "\xE8\xAF\xB7\xE7\x94\xA8\xE2\x80\x9C"                  // 请用“
              "bbcolour-cli --help\xE2\x80\x9D\xE6\x9F\xA5\xE7\x9C\x8B\xE6\x9B\xB4\xE5\xA4\x9A\xE4\xBF\xA1\xE6\x81\xAF\xE3\x80\x82\n");
    EXPECT_EQ(Run("", "a\xFF", "zh_CN.UTF-8").err,
              "bbcolour-cli\xEF\xBC\x9A\xE8\xBE\x93\xE5\x85\xA5\xE4\xB8\x8D\xE6\x98\xAF\xE6\x9C\x89\xE6\x95\x88\xE7\x9A\x84"
              " UTF-8\xEF\xBC\x8C\xE4\xBD\x8D\xE4\xBA\x8E\xE5\xAD\x97\xE8\x8A\x82\xE5\x81\x8F\xE7\xA7\xBB 1 \xE5\xA4\x84\n");
    EXPECT_EQ(Run("--help", "", "zh_CN.UTF-8").out.rfind("\xE7\x94\xA8\xE6\xB3\x95", 0), 0u);  // 用法
}

TEST_F(CliTest, FullOutputDeviceIsAnError) {
    const int raw = std::system((std::string(BBCOLOUR_CLI) + " </etc/hostname >/dev/full 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 1);
}

}  // namespace
