#include "handlers/handlers.h"

#include "bbcolour/colour_code.h"
#include "preview/render_preview.h"
#include "window/main_window.h"
#include "window/services.h"
#include "window/text_box.h"

namespace bbcolour::desktop {

namespace {
constexpr int kModifierNone = 0;
constexpr int kVirtualKeyF2 = 113;
// "复制成功!" in code page 936.
const Text kCopiedMessage = "\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6!";
}  // namespace

void BindHandlers(MainWindow& window) {
    QObject::connect(&window, &MainWindow::created, &window, [&window] { OnWindowCreated(window); });
    QObject::connect(window.InputBox(), &TextBox::contentChanged, &window, [&window] { OnInputChanged(window); });
    QObject::connect(window.HotkeyLabel(), &NotificationLabel::notified, &window,
                     [&window](int id, int zero) { OnCopyHotkey(window, id, zero); });
}

void OnInputChanged(MainWindow& window) {
    const Text input = GetControlText(window.InputBox());
    Text code = GenerateColourCode(input, window.Generator());
    SetControlText(window.CodeBox(), code);
    RenderPreview(window, code);  // turns its copy of the code into the HTML
}

void OnWindowCreated(MainWindow& window) {
    QWidget* windowHandle = GetWindowHandle(&window);
    QWidget* labelHandle = GetWindowHandle(window.HotkeyLabel());
    window.BindHotkey(windowHandle, static_cast<NotificationLabel*>(labelHandle), kModifierNone, kVirtualKeyF2);
}

void OnCopyHotkey(MainWindow& window, int, int) {
    const Text code = GetControlText(window.CodeBox());
    if (CopyTextToClipboard(code)) ShowMessageBox(kCopiedMessage, kIconQuestion);
}

}  // namespace bbcolour::desktop
