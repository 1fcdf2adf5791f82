// Keystroke latency of the real window: from a key press in the input box to
// the code box painted, and to the preview's document loaded, with 100,
// 1,000 and 10,000 characters already typed. Run on an X display, e.g.
//   QTWEBENGINE_DISABLE_SANDBOX=1 scripts/with-xvfb.sh build/release/bench/desktop_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QWebEnginePage>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "handlers/handlers.h"
#include "hotkey/hotkey_backend.h"
#include "preview/preview_view.h"
#include "window/main_window.h"
#include "window/text_box.h"

using namespace bbcolour::desktop;

namespace {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

QString MixedText(int characters) {
    QString text;
    for (int i = 0; i < characters; ++i)
        text += i % 2 ? QChar(u'a' + i % 26) : QChar(char16_t(0x4E00 + (i * 37) % 0x5000));
    return text;
}

// Resident memory of this process and the page's renderer, in MiB.
double ResidentMiB(qint64 renderer) {
    double total = 0;
    for (qint64 pid : {static_cast<qint64>(QCoreApplication::applicationPid()), renderer}) {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:")) total += line.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    }
    return total;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    RegisterPreviewScheme();
    QApplication app(argc, argv);
    bbcolour::RandomGenerator generator;
    MainWindow window(generator, nullptr);
    BindHandlers(window);
    window.RaiseCreated();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    PreviewView* preview = window.Browser();
    WaitUntil([&] { return preview->LoadedCount() >= 1; });  // about:blank

    std::printf("%-12s %22s %26s\n", "characters", "key -> code painted", "key -> preview loaded");
    for (int characters : {100, 1000, 10000}) {
        TextBox* input = window.InputBox();
        input->setPlainText(MixedText(characters - 1));
        input->moveCursor(QTextCursor::End);
        int loaded = preview->LoadedCount();
        WaitUntil([&] { return preview->LoadedCount() > loaded; });
        std::vector<double> code, html;
        for (int round = 0; round < 7; ++round) {
            loaded = preview->LoadedCount();
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(input, Qt::Key_X);  // the handler runs inside
            window.CodeBox()->viewport()->repaint();
            code.push_back(timer.nsecsElapsed() / 1e6);
            WaitUntil([&] { return preview->LoadedCount() > loaded; });
            html.push_back(timer.nsecsElapsed() / 1e6);
            loaded = preview->LoadedCount();
            QTest::keyClick(input, Qt::Key_Backspace);
            WaitUntil([&] { return preview->LoadedCount() > loaded; });
        }
        std::printf("%-12d %19.1f ms %23.1f ms   (median of %zu)\n", characters, Median(code), Median(html),
                    code.size());
    }

    // Memory must not grow with the number of previews.
    TextBox* input = window.InputBox();
    input->setPlainText(MixedText(999));
    input->moveCursor(QTextCursor::End);
    const qint64 renderer = preview->page()->renderProcessPid();
    double before = 0;
    for (int round = 0; round < 600; ++round) {
        const int loaded = preview->LoadedCount();
        QTest::keyClick(input, round % 2 ? Qt::Key_Backspace : Qt::Key_X);
        WaitUntil([&] { return preview->LoadedCount() > loaded; });
        if (round == 99) before = ResidentMiB(renderer);
    }
    std::printf("resident memory (window + renderer) after 100 previews of 1,000 characters: %.0f MiB, "
                "after 600: %.0f MiB\n", before, ResidentMiB(renderer));
    return 0;
}
