// One user story per test: typing, deleting, pasting, composing, copying.
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>

#include <QProcess>
#include <QTemporaryFile>

#include "bbcolour/charset.h"
#include "window/services.h"
#include "window/text_codec.h"
#include "window_fixture.h"

namespace bbcolour::desktop {
namespace {

TEST_F(WindowTest, TypingRegeneratesTheWholeCodeOnEveryKey) {
    QTest::keyClicks(window_->InputBox(), "a");
    EXPECT_EQ(Code(), "[color=#2923BE]a[/color]");
    QTest::keyClicks(window_->InputBox(), "b");
    EXPECT_EQ(Code(), "[color=#84E16C]a[/color][color=#D6AE52]b[/color]");
}

TEST_F(WindowTest, DeletingEverythingEmptiesCodeAndPreview) {
    QTest::keyClicks(window_->InputBox(), "ab");
    ASSERT_TRUE(WaitFor([&] { return DocumentBody(window_->Browser()).contains("</span>"); }));
    QTest::keyClick(window_->InputBox(), Qt::Key_Backspace);
    QTest::keyClick(window_->InputBox(), Qt::Key_Backspace);
    EXPECT_EQ(Code(), "");
    EXPECT_TRUE(WaitFor([&] { return DocumentBody(window_->Browser()).isEmpty(); }))
        << DocumentHtml(window_->Browser()).toStdString();
    RandomGenerator reference;
    for (int draw = 0; draw < 3 * (1 + 2 + 1); ++draw) reference.Draw();  // "a", "ab", "a", then ""
    EXPECT_EQ(generator_.State(), reference.State()) << "the empty input draws nothing";
}

TEST_F(WindowTest, PasteIsOneChange) {
    QSignalSpy changes(window_->InputBox(), &TextBox::contentChanged);
    QGuiApplication::clipboard()->setText(QString::fromUtf8("粘贴\nok"));
    window_->InputBox()->paste();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(Code(), CodeAfter({"\xD5\xB3\xCC\xF9\r\nok"}));
}

TEST_F(WindowTest, LineBreakGivesTwoTags) {
    QTest::keyClicks(window_->InputBox(), "a");
    QTest::keyClick(window_->InputBox(), Qt::Key_Return);
    const Text code = Code();
    EXPECT_EQ(code, CodeAfter({"a", "a\r\n"}));
    EXPECT_NE(code.find("]\r[/color]"), Text::npos);
    EXPECT_NE(code.find("]\n[/color]"), Text::npos);
}

TEST_F(WindowTest, OnlyCommittedInputMethodTextIsInput) {
    QSignalSpy changes(window_->InputBox(), &TextBox::contentChanged);
    for (const char* preedit : {"z", "zh", "zhong"}) {
        QInputMethodEvent composing(QString::fromUtf8(preedit), {});
        QApplication::sendEvent(window_->InputBox(), &composing);
    }
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(Code(), "");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("中文"));
    QApplication::sendEvent(window_->InputBox(), &commit);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(Code(), "[color=#2923BE]\xD6\xD0[/color][color=#84E16C]\xCE\xC4[/color]");
}

TEST_F(WindowTest, PreviewShowsTheHtmlOfTheCode) {
    QTest::keyClicks(window_->InputBox(), "]<");
    const QString expected =
        "<span style=\"color:#84E16C \">]</span><span style=\"color:#D6AE52 \">&lt;</span>";
    EXPECT_TRUE(WaitFor([&] { return DocumentBody(window_->Browser()) == expected; }))
        << DocumentHtml(window_->Browser()).toStdString();
}

TEST_F(WindowTest, EmojiAndRareCharactersSurvive) {
    const QString typed = QString::fromUtf8("😀𠀀中\nz");
    window_->InputBox()->insertPlainText(typed);
    Text code = Code(), units;
    for (std::size_t pos = 0; (pos = code.find(']', pos)) != Text::npos;) {
        const std::size_t end = code.find("[/color]", pos);
        units += code.substr(pos + 1, end - pos - 1);
        pos = end + 8;
    }
    EXPECT_EQ(units, UnicodeToText(typed));
    EXPECT_EQ(units, "\x94\x39\xFC\x36\x95\x32\x82\x36\xD6\xD0\r\nz");
    EXPECT_TRUE(WaitFor([&] { return DocumentBody(window_->Browser()).contains(QString::fromUtf8("😀")); }));
}

TEST_F(WindowTest, TypingInTheCodeBoxRaisesNoHandler) {
    QTest::keyClicks(window_->InputBox(), "a");
    const std::uint32_t state = generator_.State();
    QTest::keyClicks(window_->CodeBox(), "hand");
    EXPECT_EQ(generator_.State(), state);
    EXPECT_EQ(window_->InputBox()->toPlainText(), "a");
    EXPECT_TRUE(Code().ends_with("hand") || Code().starts_with("hand"));
}

TEST_F(WindowTest, F2CopiesTheCodeAndConfirms) {
    ASSERT_EQ(hotkey_->requested, std::vector<unsigned>{0xFFBF});  // XK_F2
    QTest::keyClicks(window_->InputBox(), "a");
    window_->InputBox()->insertPlainText(QString::fromUtf8("中"));
    BoxWatcher watcher([](QMessageBox* box, int) {
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8("信息："));
        EXPECT_EQ(box->text(), QString::fromUtf8("复制成功!"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->parentWidget(), nullptr);
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        return true;
    });
    hotkey_->Press();
    EXPECT_EQ(watcher.Count(), 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), TextToUnicode(Code()));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("[color=#84E16C]a[/color][color=#D6AE52]中[/color]"));
}

TEST_F(WindowTest, F2WhileTheBoxIsOpenCopiesAgainAndStacksASecondBox) {
    QTest::keyClicks(window_->InputBox(), "x");
    BoxWatcher watcher([this](QMessageBox*, int number) {
        if (number == 1) {
            SetControlText(window_->CodeBox(), "second");
            QTimer::singleShot(0, [this] { hotkey_->Press(); });  // inside the first box's loop
            return false;
        }
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "second");
        return true;
    });
    hotkey_->Press();
    EXPECT_EQ(watcher.Count(), 2);
}

TEST_F(WindowTest, EmptyCodeBoxCopiesEmptyText) {
    QGuiApplication::clipboard()->setText("old");
    BoxWatcher watcher([](QMessageBox*, int) { return true; });
    hotkey_->Press();
    EXPECT_EQ(watcher.Count(), 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
}

// Markup with its tags taken out: the units in order.
Text StripTags(const Text& code) {
    Text units;
    for (std::size_t pos = 0; (pos = code.find(']', pos)) != Text::npos;) {
        const std::size_t end = code.find("[/color]", pos);
        units += code.substr(pos + 1, end - pos - 1);
        pos = end + 8;
    }
    return units;
}

// Every Unicode scalar value but NUL goes through the boxes as a user's text
// does (input box, engine, code box, clipboard) and comes back, line breaks
// as CR LF; the command line gives the same bytes for the same text. The
// pieces go in one after another, each from a fresh sequence, as each run
// of the command line starts one.
TEST(EveryCharacterTest, SurvivesTheWindowAndMatchesTheCommandLine) {
    constexpr char32_t kPiece = 0x20000;  // a few pieces keep each box's paragraph moderate
    for (char32_t first = 1; first <= 0x10FFFF; first += kPiece) {
        QString typed, expected;
        for (char32_t cp = first; cp < first + kPiece && cp <= 0x10FFFF; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF) continue;
            typed += QString::fromUcs4(&cp, 1);
            // Line and paragraph separators are line breaks, which the box's
            // bytes give as CR LF; every other character stays itself.
            const bool lineBreak = cp == '\n' || cp == '\r' || cp == 0x2028 || cp == 0x2029;
            expected += lineBreak ? QStringLiteral("\r\n") : QString::fromUcs4(&cp, 1);
        }
        SCOPED_TRACE(testing::Message() << "from U+" << std::hex << static_cast<unsigned>(first));
        RandomGenerator generator;
        MainWindow window(generator, nullptr);
        {
            const QSignalBlocker quiet(window.InputBox());  // no preview: this is about the text
            window.InputBox()->insertPlainText(typed);
        }
        const Text input = GetControlText(window.InputBox());
        EXPECT_TRUE(TextToUnicode(input) == expected);
        SetControlText(window.CodeBox(), GenerateColourCode(input, generator));
        ASSERT_TRUE(CopyTextToClipboard(GetControlText(window.CodeBox())));
        const QString copied = QGuiApplication::clipboard()->text();
        const Text copiedBytes =
            charset::Utf16ToGb18030({reinterpret_cast<const char16_t*>(copied.utf16()), std::size_t(copied.size())});
        EXPECT_TRUE(StripTags(copiedBytes) == input);

        QTemporaryFile file;
        ASSERT_TRUE(file.open());
        file.write(expected.toUtf8());
        file.close();
        QProcess cli;
        cli.start(BBCOLOUR_CLI, {file.fileName()});
        ASSERT_TRUE(cli.waitForFinished(60000));
        ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        EXPECT_TRUE(cli.readAllStandardOutput() == copied.toUtf8());
    }
}

TEST_F(WindowTest, NulIsLeftOutAndUnpairedSurrogatesBecomeReplacementCharacters) {
    const char16_t typed[] = {u'a', 0, u'b', 0xD800, u'c', 0xDC00, 0xD83D, 0xDE00};
    window_->InputBox()->insertPlainText(QString(reinterpret_cast<const QChar*>(typed), std::size(typed)));
    const Text replacement = "\x84\x31\xA4\x37";  // U+FFFD
    EXPECT_EQ(StripTags(Code()), "ab" + replacement + "c" + replacement + "\x94\x39\xFC\x36");
    EXPECT_EQ(Code(), CodeAfter({"ab" + replacement + "c" + replacement + "\x94\x39\xFC\x36"}));
}

TEST(RefusedHotkeyTest, ProgramRunsOnWithoutIt) {
    RandomGenerator generator;
    auto hotkey = std::make_unique<RecordingHotkey>(false);
    MainWindow window(generator, std::move(hotkey));
    EXPECT_EQ(window.BindHotkey(&window, window.HotkeyLabel(), 0, 113), 0);
    MainWindow noPlatform(generator, nullptr);
    EXPECT_EQ(noPlatform.BindHotkey(&noPlatform, noPlatform.HotkeyLabel(), 0, 113), 0);
    RandomGenerator other;
    MainWindow accepted(other, std::make_unique<RecordingHotkey>(true));
    EXPECT_EQ(accepted.BindHotkey(&accepted, accepted.HotkeyLabel(), 0, 113), 33001);
}

}  // namespace
}  // namespace bbcolour::desktop
