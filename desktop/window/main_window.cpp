#include "window/main_window.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QShowEvent>

#include "hotkey/hotkey_backend.h"
#include "preview/preview_view.h"
#include "window/services.h"
#include "window/text_box.h"

namespace bbcolour::desktop {

namespace {
template <typename Widget, typename... Args>
Widget* Place(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
    auto* w = new Widget(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromUtf8(name));
    w->setGeometry(geometry);
    return w;
}
}  // namespace

QPoint CentredPosition(QSize screen) {
    return {(screen.width() - kOuterWidth) / 2, (screen.height() - kOuterHeight) / 2};
}

MainWindow::MainWindow(RandomGenerator& generator, std::unique_ptr<HotkeyBackend> hotkey)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      generator_(generator),
      hotkey_(std::move(hotkey)) {
    setObjectName("MainWindow");
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    setWindowIcon(QIcon(":/bbcolour/bbcolour-32.png"));
    setFixedSize(kBareClientWidth, kBareClientHeight);

    // Siblings are created back to front: each new one lies in front of the
    // ones before it.
    auto* inputGroup = Place<QGroupBox>(this, "分组框1", {8, 8, 312, 128}, QString::fromUtf8("请输入想要的文字"));
    input_ = Place<TextBox>(inputGroup, "编辑框1", {8, 16, 296, 104});
    Place<QGroupBox>(this, "分组框2", {8, 144, 312, 128}, QString::fromUtf8("代码区"));
    code_ = Place<TextBox>(this, "编辑框2", {16, 159, 296, 104});
    hotkeyLabel_ = Place<NotificationLabel>(this, "标签1", {-100, -100, 0, 0});
    auto* previewGroup = Place<QGroupBox>(this, "分组框3", {8, 280, 312, 176}, QString::fromUtf8("预览区"));
    browser_ = Place<PreviewView>(previewGroup, "超文本浏览框1", {8, 16, 296, 152});
    Place<QLabel>(this, "标签2", {110, 464, 104, 24}, QString::fromUtf8("bbcolour 出品"));

    browser_->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(input_, code_);
    setTabOrder(code_, browser_);
    input_->setFocus();

    if (QScreen* screen = QGuiApplication::primaryScreen()) move(CentredPosition(screen->size()));
}

void NotificationLabel::Notify(int id, int zero) {
    DeliverPendingInput();
    emit notified(id, zero);
}

MainWindow::~MainWindow() = default;

int MainWindow::BindHotkey(QWidget*, NotificationLabel* label, int modifiers, int virtualKey) {
    notifiedLabel_ = label;  // remembered even when the hotkey is refused
    const bool isFunctionKey = virtualKey >= 112 && virtualKey <= 135;
    if (!hotkey_ || modifiers != 0 || !isFunctionKey) return 0;
    const unsigned keysym = 0xFFBEu + static_cast<unsigned>(virtualKey - 112);  // XK_F1 onwards
    const int id = nextHotkeyId_;
    const bool bound = hotkey_->Register(keysym, [this, id] {
        if (notifiedLabel_) notifiedLabel_->Notify(id, 0);
    });
    if (!bound) return 0;
    ++nextHotkeyId_;
    return id;
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitOuterSize();
}

bool MainWindow::event(QEvent* event) {
    // The window manager reports its frame some time after mapping; each
    // move or resize may carry new frame extents.
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Move || event->type() == QEvent::WindowActivate) FitOuterSize();
    return handled;
}

void MainWindow::FitOuterSize() {
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize client = frame.isEmpty() ? QSize(kBareClientWidth, kBareClientHeight)
                                         : QSize(kOuterWidth, kOuterHeight) - frame;
    if (client == size()) return;
    setFixedSize(client);
    if (QScreen* screen = QGuiApplication::primaryScreen()) move(CentredPosition(screen->size()));
}

Text GetControlText(const TextBox* box) { return box->GetText(); }

void SetControlText(TextBox* box, const Text& text) { box->SetText(text); }

QWidget* GetWindowHandle(QWidget* control) { return control; }

}  // namespace bbcolour::desktop
