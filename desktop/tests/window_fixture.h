// A shown main window with a fresh colour sequence and a test hotkey, and
// helpers that wait for a condition instead of sleeping.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QTest>
#include <QWebEnginePage>
#include <functional>

#include "handlers/handlers.h"
#include "hotkey/test/recording_hotkey.h"
#include "preview/preview_view.h"
#include "window/main_window.h"
#include "window/text_box.h"

namespace bbcolour::desktop {

// Processes events until `condition` holds; false after `timeoutMs`.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QTest::qWait(10);
    }
    return true;
}

// The preview's current document as the page serialises it.
inline QString DocumentHtml(PreviewView* view) {
    if (!view->Engine()) return "(no web engine yet)";
    QString html;
    bool done = false;
    view->Engine()->page()->toHtml([&](const QString& result) {
        html = result;
        done = true;
    });
    WaitFor([&] { return done; });
    return html;
}

// The document body between <body> and </body>.
inline QString DocumentBody(PreviewView* view) {
    const QString html = DocumentHtml(view);
    const qsizetype start = html.indexOf("<body>"), end = html.lastIndexOf("</body>");
    return start < 0 || end < 0 ? QString("(no body) " + html) : html.mid(start + 6, end - start - 6);
}

// Watches for confirmation boxes: `opened` sees each new one with its
// number (from 1) and returns whether to close it now; boxes left open are
// closed once seen again.
class BoxWatcher {
public:
    explicit BoxWatcher(std::function<bool(QMessageBox*, int)> opened) : opened_(std::move(opened)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            if (std::find(seen_.begin(), seen_.end(), box) == seen_.end()) {
                seen_.push_back(box);
                if (!opened_(box, static_cast<int>(seen_.size()))) return;
            }
            box->accept();
        });
        timer_.start(20);
    }
    int Count() const { return static_cast<int>(seen_.size()); }

private:
    std::function<bool(QMessageBox*, int)> opened_;
    std::vector<QMessageBox*> seen_;
    QTimer timer_;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override { Open(true); }

    void Open(bool hotkeyAccepted) {
        auto hotkey = std::make_unique<RecordingHotkey>(hotkeyAccepted);
        hotkey_ = hotkey.get();
        window_ = std::make_unique<MainWindow>(generator_, std::move(hotkey));
        BindHandlers(*window_);
        window_->RaiseCreated();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        window_->InputBox()->setFocus();
    }

    Text Code() const { return GetControlText(window_->CodeBox()); }

    RandomGenerator generator_;
    RecordingHotkey* hotkey_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

// The colour code that a fresh sequence gives for `inputs`, one generation each.
inline Text CodeAfter(std::initializer_list<Text> inputs) {
    RandomGenerator generator;
    Text code;
    for (const Text& input : inputs) code = GenerateColourCode(input, generator);
    return code;
}

}  // namespace bbcolour::desktop
