// The edit box: every editing behaviour of a text box, and lines that come
// out as if its longest paragraph had been laid out whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>

#include "bbcolour/charset.h"
#include "window/text_box.h"
#include "window/text_codec.h"

namespace bbcolour::desktop {
namespace {

class TextBoxTest : public testing::Test {
protected:
    void SetUp() override {
        box_.resize(296, 104);
        box_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box_));
        box_.activateWindow();
        box_.setFocus();
    }
    void Keys(const QList<std::pair<int, Qt::KeyboardModifiers>>& keys) {
        for (const auto& [key, modifiers] : keys) QTest::keyClick(&box_, Qt::Key(key), modifiers);
    }
    TextBox box_{nullptr};
};

constexpr auto kNone = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;

struct EditCase {
    const char* name;
    const char* start;  // UTF-8, the caret at its end
    QList<std::pair<int, Qt::KeyboardModifiers>> keys;
    const char* typedAfter;  // typed after the keys
    const char* result;
    QList<std::pair<int, Qt::KeyboardModifiers>> keysAfter = {};  // pressed after typing
};

TEST_F(TextBoxTest, EditingKeys) {
    const EditCase cases[] = {
        {"backspace", "abc", {{Qt::Key_Backspace, kNone}}, "", "ab"},
        {"left then type", "abc", {{Qt::Key_Left, kNone}}, "X", "abXc"},
        {"home then delete", "abc", {{Qt::Key_Home, kNone}, {Qt::Key_Delete, kNone}}, "", "bc"},
        {"shift selection replaced", "abcd", {{Qt::Key_Left, kShift}, {Qt::Key_Left, kShift}}, "X", "abX"},
        {"select all and delete", "ab\ncd", {{Qt::Key_A, kCtrl}, {Qt::Key_Delete, kNone}}, "", ""},
        {"up keeps the column", "abc\ndef", {{Qt::Key_Up, kNone}}, "X", "abcX\ndef"},
        {"down from the first line", "abc\ndef", {{Qt::Key_Home, kCtrl}, {Qt::Key_Down, kNone}}, "X", "abc\nXdef"},
        {"surrogate pair is one step", "a\xF0\x9F\x98\x80", {{Qt::Key_Left, kNone}}, "X", "aX\xF0\x9F\x98\x80"},
        {"backspace takes a whole pair", "a\xF0\x9F\x98\x80", {{Qt::Key_Backspace, kNone}}, "", "a"},
        {"backspace joins lines", "ab\n", {{Qt::Key_Backspace, kNone}}, "", "ab"},
        {"enter breaks the line", "ab", {{Qt::Key_Left, kNone}, {Qt::Key_Return, kNone}}, "", "a\nb"},
        {"word left", "one two", {{Qt::Key_Left, kCtrl}}, "X", "one Xtwo"},
        {"typing is one undo step", "", {}, "abc", "", {{Qt::Key_Z, kCtrl}}},
        {"undo and redo", "ab", {{Qt::Key_Backspace, kNone}, {Qt::Key_Z, kCtrl}, {Qt::Key_Z, kCtrl | kShift}}, "",
         "a"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString start = QString::fromUtf8(c.start);
        box_.SetText(charset::Utf16ToGb18030({reinterpret_cast<const char16_t*>(start.utf16()), std::size_t(start.size())}));
        box_.SetCursorPosition(static_cast<int>(box_.toPlainText().size()));
        Keys(c.keys);
        QTest::keyClicks(&box_, QString::fromUtf8(c.typedAfter));
        Keys(c.keysAfter);
        EXPECT_EQ(box_.toPlainText(), QString::fromUtf8(c.result));
    }
}

TEST_F(TextBoxTest, CopyAndCutGiveExactlyTheSelection) {
    // CR and LF units of the code, each a line break of its own.
    box_.SetText("[c]\r[/c][c]\n[/c]x");
    box_.SetCursorPosition(2);
    box_.SetCursorPosition(14, true);
    box_.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("]\r[/c][c]\n[/"));
    QTest::keyClick(&box_, Qt::Key_X, kCtrl);
    EXPECT_EQ(box_.toPlainText(), QString("[cc]x"));
    EXPECT_EQ(box_.GetText(), "[cc]x");
    QTest::keyClick(&box_, Qt::Key_V, kCtrl);
    QTest::keyClick(&box_, Qt::Key_V, kCtrl);
    EXPECT_EQ(box_.toPlainText(), QString("[c]\r[/c][c]\n[/]\r[/c][c]\n[/c]x"));
    // Once edited, the box's bytes give each line break as CR LF.
    EXPECT_EQ(box_.GetText(), "[c]\r\n[/c][c]\r\n[/]\r\n[/c][c]\r\n[/c]x");
}

TEST_F(TextBoxTest, MouseSetsTheCaretAndSelects) {
    box_.SetText("alpha beta gamma");
    const QPoint origin = box_.contentsRect().topLeft() + QPoint(6, 8);
    QTest::mouseClick(&box_, Qt::LeftButton, {}, origin);
    EXPECT_EQ(box_.CursorPosition(), 0);
    QTest::mouseDClick(&box_, Qt::LeftButton, {}, origin + QPoint(box_.fontMetrics().horizontalAdvance("alpha b"), 0));
    EXPECT_EQ(box_.SelectedText(), "beta");
    QTest::mousePress(&box_, Qt::LeftButton, {}, origin);
    QMouseEvent drag(QEvent::MouseMove, origin + QPoint(box_.fontMetrics().horizontalAdvance("alpha"), 0),
                     box_.mapToGlobal(origin), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box_, &drag);
    QTest::mouseRelease(&box_, Qt::LeftButton, {}, origin);
    EXPECT_EQ(box_.SelectedText(), "alpha");
}

TEST_F(TextBoxTest, OneLongParagraphWrapsAsIfLaidOutWhole) {
    // About 240,000 characters of markup in one paragraph, laid out here
    // whole with Qt's own layout at the box's width and font.
    QString markup;
    for (int i = 0; i < 10000; ++i)
        markup += QString("[color=#%1]").arg(i * 2654435761u % 0xFFFFFF, 6, 16, QChar('0')).toUpper() +
                  (i % 3 ? QChar(u'a' + i % 26) : QChar(char16_t(0x4E00 + i % 0x5000))) + "[/color]";
    box_.SetText(UnicodeToText(markup));
    QTextLayout whole(markup, box_.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    whole.setTextOption(option);
    whole.beginLayout();
    const qreal width = box_.contentsRect().width() - 8;
    for (QTextLine line = whole.createLine(); line.isValid(); line = whole.createLine()) line.setLineWidth(width);
    whole.endLayout();
    ASSERT_GT(whole.lineCount(), 1000);
    // Each line's start, found with Home from a position inside it.
    for (int index = 0; index < whole.lineCount(); index += 97) {
        const QTextLine line = whole.lineAt(index);
        box_.SetCursorPosition(line.textStart() + line.textLength() / 2);
        QTest::keyClick(&box_, Qt::Key_Home);
        ASSERT_EQ(box_.CursorPosition(), line.textStart()) << "line " << index;
    }
    // Down walks the lines one by one.
    box_.SetCursorPosition(0);
    for (int index = 1; index < 300; ++index) {
        QTest::keyClick(&box_, Qt::Key_Down);
        ASSERT_EQ(whole.lineForTextPosition(box_.CursorPosition()).lineNumber(), index);
    }
    // The end, an edit there, and the bytes it gives.
    QTest::keyClick(&box_, Qt::Key_End, kCtrl);
    EXPECT_EQ(box_.CursorPosition(), markup.size());
    QTest::keyClicks(&box_, "!");
    EXPECT_EQ(box_.GetText(), UnicodeToText(markup + "!"));
}

// The longest run of rows in the box's text area without a dark (text) pixel.
int LongestBlankRun(TextBox& box) {
    const QImage image = box.grab().toImage();
    const QRect area = box.contentsRect().adjusted(4, 4, -4, -4);
    int longest = 0, run = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        bool text = false;
        for (int x = area.left(); x <= area.right() && !text; ++x) text = qGray(image.pixel(x, y)) < 96;
        run = text ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

TEST_F(TextBoxTest, PaintsEveryLineInViewWhereverItIsScrolled) {
    QString text;  // Latin and CJK, whose lines are of two heights
    for (int i = 0; i < 30000; ++i) text += i % 2 ? QChar(char16_t(0x4E00 + (i * 37) % 0x5000)) : QChar(u'a' + i % 26);
    box_.SetText(UnicodeToText(text));
    const int line = box_.fontMetrics().lineSpacing();
    EXPECT_LT(LongestBlankRun(box_), line);
    for (const int position : {7000, 15000, 30000}) {
        box_.SetCursorPosition(position);  // scrolls the caret's line into view
        EXPECT_LT(LongestBlankRun(box_), line) << "no line missing at " << position;
    }
}

TEST_F(TextBoxTest, InputMethodCommitsAtTheCaret) {
    box_.SetText("ac");
    box_.SetCursorPosition(1);
    QSignalSpy changes(&box_, &TextBox::contentChanged);
    QInputMethodEvent composing(QString::fromUtf8("b"), {});
    QApplication::sendEvent(&box_, &composing);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(box_.inputMethodQuery(Qt::ImSurroundingText).toString(), "ac");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("乙"));
    QApplication::sendEvent(&box_, &commit);
    EXPECT_EQ(box_.toPlainText(), QString::fromUtf8("a乙c"));
    EXPECT_EQ(box_.inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
    EXPECT_EQ(changes.count(), 1);
}

}  // namespace
}  // namespace bbcolour::desktop
