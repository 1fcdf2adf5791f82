// The one window: its fixed layout, its controls and the window-layer
// services that the handlers use.
#pragma once

#include <QLabel>
#include <QWidget>
#include <memory>

#include "bbcolour/colour_code.h"
#include "bbcolour/text.h"

namespace bbcolour::desktop {

class HotkeyBackend;
class PreviewView;
class TextBox;

inline constexpr char kWindowTitle[] = "Brisolt论坛彩色字体生成器 按F2键复制";
inline constexpr int kOuterWidth = 336, kOuterHeight = 516;
// The client area where no window manager reports a frame: 330 x 487 is
// what a Windows frame (3 px borders, 26 px caption) leaves of 336 x 516,
// the size the layout was made for.
inline constexpr int kBareClientWidth = 330, kBareClientHeight = 487;
inline constexpr int kFirstHotkeyId = 33001;

// 标签1: never seen; the hotkey's presses arrive here as its notification.
class NotificationLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Delivers input already received first (DeliverPendingInput), so a
    // copy request sees every key typed before it, whatever path it took.
    void Notify(int id, int zero);
signals:
    void notified(int id, int zero);
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Draws colours from `generator`; the hotkey goes through `hotkey`
    // (none: no hotkey on this platform).
    MainWindow(RandomGenerator& generator, std::unique_ptr<HotkeyBackend> hotkey);
    ~MainWindow() override;

    // Raises the created event (once, before the window is first shown).
    void RaiseCreated() { emit created(); }

    TextBox* InputBox() const { return input_; }      // 编辑框1
    TextBox* CodeBox() const { return code_; }        // 编辑框2
    PreviewView* Browser() const { return browser_; } // 超文本浏览框1
    NotificationLabel* HotkeyLabel() const { return hotkeyLabel_; }  // 标签1
    RandomGenerator& Generator() const { return generator_; }

    // Registers the hotkey `virtualKey` (a Windows virtual-key code, F1 = 112)
    // without modifiers for this window; its presses notify `label` with the
    // identifier and 0. Returns the identifier, or 0 when refused.
    int BindHotkey(QWidget* window, NotificationLabel* label, int modifiers, int virtualKey);

signals:
    void created();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Gives the window its outer size of 336 x 516 around the frame that the
    // window manager draws, at the centred position.
    void FitOuterSize();

    RandomGenerator& generator_;
    std::unique_ptr<HotkeyBackend> hotkey_;
    int nextHotkeyId_ = kFirstHotkeyId;
    NotificationLabel* notifiedLabel_ = nullptr;
    TextBox* input_;
    TextBox* code_;
    PreviewView* browser_;
    NotificationLabel* hotkeyLabel_;
};

// The window's top-left corner, centred on the primary screen as the
// outer size requires: (screen - outer) / 2, truncated toward zero.
QPoint CentredPosition(QSize screen);

// Window-layer operations of the handlers.
Text GetControlText(const TextBox* box);
void SetControlText(TextBox* box, const Text& text);
QWidget* GetWindowHandle(QWidget* control);

}  // namespace bbcolour::desktop
