// The window's layout and its edit boxes, as a user and the layout table see them.
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>

#include "window/text_codec.h"
#include "window_fixture.h"

namespace bbcolour::desktop {
namespace {

struct Control {
    const char* name;
    const char* parent;
    QRect geometry;
    const char* caption;  // group boxes' titles, or null
};

TEST_F(WindowTest, ControlsSitWhereTheLayoutSays) {
    const Control frontToBack[] = {
        {"标签2", "MainWindow", {110, 464, 104, 24}, nullptr},
        {"分组框3", "MainWindow", {8, 280, 312, 176}, "预览区"},
        {"超文本浏览框1", "分组框3", {8, 16, 296, 152}, nullptr},
        {"标签1", "MainWindow", {-100, -100, 0, 0}, nullptr},
        {"编辑框2", "MainWindow", {16, 159, 296, 104}, nullptr},
        {"分组框2", "MainWindow", {8, 144, 312, 128}, "代码区"},
        {"编辑框1", "分组框1", {8, 16, 296, 104}, nullptr},
        {"分组框1", "MainWindow", {8, 8, 312, 128}, "请输入想要的文字"},
    };
    int previousStackIndex = 1 << 20;
    for (const Control& c : frontToBack) {
        SCOPED_TRACE(c.name);
        auto* w = window_->findChild<QWidget*>(QString::fromUtf8(c.name));
        ASSERT_NE(w, nullptr);
        QWidget* parent = w->parentWidget();
        EXPECT_EQ(parent->objectName(), QString::fromUtf8(c.parent));
        EXPECT_EQ(w->geometry(), c.geometry);
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->isEnabled());
        if (c.caption) {
            EXPECT_EQ(qobject_cast<QGroupBox*>(w)->title(), QString::fromUtf8(c.caption));
        }
        if (parent == window_.get()) {  // siblings: each lies behind the one before
            const int index = static_cast<int>(window_->children().indexOf(w));
            EXPECT_LT(index, previousStackIndex);
            previousStackIndex = index;
        }
    }
    EXPECT_FALSE(window_->findChild<QLabel*>(QString::fromUtf8("标签2"))->text().isEmpty());
}

TEST_F(WindowTest, WindowIsFixedCentredAndHasOnlyACloseButton) {
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("Brisolt论坛彩色字体生成器 按F2键复制"));
    // No window manager here: the client area is the bare 330 x 487.
    EXPECT_EQ(window_->size(), QSize(330, 487));
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
    const Qt::WindowFlags flags = window_->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(window_->frameGeometry().topLeft(), QPoint((screen.width() - 336) / 2, (screen.height() - 516) / 2));
    EXPECT_FALSE(window_->windowIcon().isNull());
    EXPECT_EQ(CentredPosition({1023, 767}), QPoint(343, 125));  // truncated toward zero
}

TEST_F(WindowTest, CaptionsAreNotClipped) {
    for (QGroupBox* group : window_->findChildren<QGroupBox*>()) {
        SCOPED_TRACE(group->objectName().toStdString());
        EXPECT_LT(group->fontMetrics().horizontalAdvance(group->title()), group->width() - 16);
        EXPECT_LT(group->fontMetrics().height(), 16 + 2) << "the caption fits above the child at y = 16";
    }
    auto* credit = window_->findChild<QLabel*>(QString::fromUtf8("标签2"));
    EXPECT_LE(credit->fontMetrics().horizontalAdvance(credit->text()), credit->width());
    // The label reaches one pixel past the client area, as laid out; its text must still show.
    EXPECT_LE(credit->fontMetrics().height(), window_->height() - credit->y());
    for (const char* name : {"分组框1", "分组框2", "分组框3", "编辑框2"}) {
        const QWidget* w = window_->findChild<QWidget*>(QString::fromUtf8(name));
        EXPECT_TRUE(window_->rect().contains(w->geometry())) << name;
    }
}

TEST_F(WindowTest, StartsEmptyAndTabVisitsTheThreeStops) {
    EXPECT_TRUE(window_->InputBox()->toPlainText().isEmpty());
    EXPECT_EQ(Code(), "");
    EXPECT_TRUE(window_->InputBox()->hasFocus());
    QTest::keyClick(window_->InputBox(), Qt::Key_Tab);
    EXPECT_TRUE(WaitFor([&] { return window_->CodeBox()->hasFocus(); }));
    EXPECT_TRUE(window_->InputBox()->toPlainText().isEmpty()) << "Tab inserted nothing";
    QTest::keyClick(window_->CodeBox(), Qt::Key_Tab);
    EXPECT_TRUE(WaitFor([&] { return window_->Browser()->focusWidget() != nullptr &&
                                     window_->Browser()->isAncestorOf(QApplication::focusWidget()); }));
}

TEST_F(WindowTest, EditBoxesWrapWithoutScrollBars) {
    for (TextBox* box : {window_->InputBox(), window_->CodeBox()}) {
        EXPECT_TRUE(box->findChildren<QScrollBar*>().isEmpty());
        box->SetText(Text(3000, 'w'));  // one word far wider than the box
        box->SetCursorPosition(3000);
        const QRect caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        EXPECT_TRUE(box->contentsRect().contains(caret)) << "the caret is scrolled into view, inside the box";
        box->SetCursorPosition(0);
        EXPECT_LT(box->inputMethodQuery(Qt::ImCursorRectangle).toRect().top(), caret.top());
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::black));
    }
}

TEST_F(WindowTest, CodeBoxHandsBackItsBytesUntilEdited) {
    const Text code = "[color=#2923BE]\r[/color][color=#84E16C]\n[/color][color=#D6AE52]\x94\x39\xFC\x36[/color]";
    SetControlText(window_->CodeBox(), code);
    EXPECT_EQ(Code(), code);
    QTest::keyClick(window_->CodeBox(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(window_->CodeBox(), "x");
    EXPECT_EQ(Code().back(), 'x');
    EXPECT_EQ(Code().find('\r'), Code().find("\r\n")) << "edited text has CR LF line breaks";
}

TEST(TextCodecTest, LineBreaksBecomeCrLfAndNothingIsLost) {
    // 😀 and 𠀀 are outside GBK; GB18030 holds them in four bytes.
    EXPECT_EQ(UnicodeToText(QString::fromUtf8("中\n😀𠀀") + QChar(0x2029) + "a"),
              "\xD6\xD0\r\n\x94\x39\xFC\x36\x95\x32\x82\x36\r\na");
    EXPECT_EQ(UnicodeToText("a\rb\r\nc\n\rd"), "a\r\nb\r\nc\r\n\r\nd");
    EXPECT_EQ(TextToUnicode("\xD6\xD0\r\x94\x39\xFC\x36"), QString::fromUtf8("中\r😀"));
}

}  // namespace
}  // namespace bbcolour::desktop
