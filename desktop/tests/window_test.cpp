// The window's layout, as a user and the design's table see it.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>

#include "hotkey/test/recording_hotkey.h"
#include "preview/preview_view.h"
#include "window/main_window.h"
#include "window/text_box.h"

namespace bbcolour::desktop {
namespace {

struct Control {
    const char* name;
    const char* parent;
    QRect geometry;
    const char* caption;  // group boxes' titles, or null
};

TEST(MainWindowTest, ControlsSitWhereTheLayoutSays) {
    RandomGenerator generator;
    MainWindow window(generator, std::make_unique<RecordingHotkey>());
    const Control controls[] = {
        {"标签2", "MainWindow", {110, 464, 104, 24}, nullptr},
        {"分组框3", "MainWindow", {8, 280, 312, 176}, "预览区"},
        {"超文本浏览框1", "分组框3", {8, 16, 296, 152}, nullptr},
        {"标签1", "MainWindow", {-100, -100, 0, 0}, nullptr},
        {"编辑框2", "MainWindow", {16, 159, 296, 104}, nullptr},
        {"分组框2", "MainWindow", {8, 144, 312, 128}, "代码区"},
        {"编辑框1", "分组框1", {8, 16, 296, 104}, nullptr},
        {"分组框1", "MainWindow", {8, 8, 312, 128}, "请输入想要的文字"},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        auto* w = window.findChild<QWidget*>(QString::fromUtf8(c.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromUtf8(c.parent));
        EXPECT_EQ(w->geometry(), c.geometry);
        if (c.caption) EXPECT_EQ(qobject_cast<QGroupBox*>(w)->title(), QString::fromUtf8(c.caption));
    }
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Brisolt论坛彩色字体生成器 按F2键复制"));
}

}  // namespace
}  // namespace bbcolour::desktop
