// Keystroke latency of the real window at every size: from a key press in
// the input box to the code box painted and to the preview's document
// written, beside the time the same web engine needs to load the same
// preview page from a file:// URL. A 10 ms heartbeat timer shows how long
// the window's thread was kept from its events while the preview loaded.
// Run on an X display (bench/desktop.sh does it all), or:
//   QTWEBENGINE_DISABLE_SANDBOX=1 scripts/with-xvfb.sh build/release/bench/desktop_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bbcolour/preview_html.h"
#include "handlers/handlers.h"
#include "hotkey/hotkey_backend.h"
#include "preview/preview_view.h"
#include "window/main_window.h"
#include "window/text_box.h"
#include "window/text_codec.h"

using namespace bbcolour::desktop;

namespace {

// Runs the event loop until `done` holds, checking every millisecond from
// a timer: the thread sleeps between checks instead of spinning.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 120000) {
    if (done()) return true;
    QEventLoop loop;
    QTimer check;
    QElapsedTimer clock;
    clock.start();
    bool ok = true;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
        else if (clock.elapsed() > timeoutMs) ok = false, loop.quit();
    });
    check.start(1);
    loop.exec();
    return ok;
}

// Mixed CJK and Latin text; with `lineLength` > 0 a line break after every
// `lineLength` characters.
QString MixedText(int characters, int lineLength) {
    QString text;
    text.reserve(characters);
    for (int i = 0; i < characters; ++i) {
        if (lineLength > 0 && i % lineLength == lineLength - 1) text += u'\n';
        else text += i % 2 ? QChar(u'a' + i % 26) : QChar(char16_t(0x4E00 + (i * 37) % 0x5000));
    }
    return text;
}

// Resident memory of a process, in MiB.
double ResidentMiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    return 0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Records the longest pause between the beats of a 10 ms timer while armed.
class Heartbeat {
public:
    Heartbeat() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double now = clock_.nsecsElapsed() / 1e6;
            if (armed_) longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
        clock_.start();
        timer_.start(10);
    }
    // From now on: the key's own handler has returned.
    void Arm() { armed_ = true, longest_ = 0, last_ = clock_.nsecsElapsed() / 1e6; }
    double Disarm() {
        armed_ = false;
        return std::max(longest_, clock_.nsecsElapsed() / 1e6 - last_);
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    bool armed_ = false;
    double last_ = 0, longest_ = 0;
};

// The floor: the same preview page loaded from a file by a page of the same
// engine, with the preview's settings, shown at the preview's size. Like
// the preview, it replaces the page of the round before.
class FileFloor {
public:
    FileFloor() : profile_(new QWebEngineProfile(&view_)) {
        auto* page = new QWebEnginePage(profile_, &view_);
        page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        page->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, false);
        view_.setPage(page);
        QObject::connect(page, &QWebEnginePage::loadFinished, [this] { ++loaded_; });
        view_.setGeometry(400, 0, 296, 152);
        view_.show();
        Load("<p>warm-up</p>");
    }
    ~FileFloor() { delete view_.page(); }
    qint64 Pid() const { return view_.page()->renderProcessPid(); }
    double Load(const QByteArray& html) {
        QFile file(dir_.filePath("preview.html"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("<meta charset=\"gb18030\">" + html);
        file.close();
        const int loaded = loaded_;
        QElapsedTimer timer;
        timer.start();
        view_.load(QUrl::fromLocalFile(file.fileName()));
        WaitUntil([&] { return loaded_ > loaded; });
        const double ms = timer.nsecsElapsed() / 1e6;
        return ms;
    }

private:
    QTemporaryDir dir_;
    QWebEngineView view_;
    QWebEngineProfile* profile_;
    int loaded_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    bbcolour::desktop::PrepareWebEngine();
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 3;
    bbcolour::RandomGenerator generator;
    MainWindow window(generator, nullptr);
    BindHandlers(window);
    window.RaiseCreated();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    PreviewView* preview = window.Browser();
    TextBox* input = window.InputBox();
    WaitUntil([&] { return preview->LoadedCount() >= 1; });  // the blank page
    FileFloor floor;
    Heartbeat heartbeat;

    std::printf("%-10s %-13s %14s %15s %13s %7s %17s\n", "characters", "shape", "key->code box", "key->preview",
                "file:// load", "ratio", "longest beat gap");
    // Optional second argument: the sizes to measure, comma-separated.
    std::vector<int> sizes = {1000, 10000, 30000, 100000};
    if (argc > 2) {
        sizes.clear();
        for (const QString& size : QString(argv[2]).split(',')) sizes.push_back(size.toInt());
    }
    for (int characters : sizes) {
        for (int lineLength : {0, 300}) {
            input->setFocus();
            int loaded = preview->LoadedCount();
            SetControlText(input, UnicodeToText(MixedText(characters - 1, lineLength)));
            QTest::keyClick(input, Qt::Key_End, Qt::ControlModifier);
            WaitUntil([&] { return preview->LoadedCount() > loaded; });
            std::vector<double> code, html, file, gap;
            for (int round = 0; round < rounds; ++round) {
                loaded = preview->LoadedCount();
                QElapsedTimer timer;
                timer.start();
                QTest::keyClick(input, Qt::Key_X);  // the handler runs inside
                window.CodeBox()->repaint();
                code.push_back(timer.nsecsElapsed() / 1e6);
                heartbeat.Arm();
                WaitUntil([&] { return preview->LoadedCount() > loaded; });
                html.push_back(timer.nsecsElapsed() / 1e6);
                gap.push_back(heartbeat.Disarm());
                WaitUntil([&] { return !preview->Busy(); });  // the floor gets the machine to itself
                // The floor: the page this key produced, from a file.
                file.push_back(floor.Load(QByteArray::fromStdString(bbcolour::ConvertCodeToHtml(
                    GetControlText(window.CodeBox())))));
                loaded = preview->LoadedCount();
                QTest::keyClick(input, Qt::Key_Backspace);
                WaitUntil([&] { return preview->LoadedCount() > loaded; });
            }
            const double ratio = Median(html) / Median(file);
            if (std::getenv("BBCOLOUR_BENCH_ROUNDS")) {
                for (std::size_t i = 0; i < html.size(); ++i) std::printf("  round %zu: %.0f / %.0f ms\n", i, html[i], file[i]);
            }
            std::printf("%-10d %-13s %11.1f ms %12.1f ms %10.1f ms %6.2fx %14.1f ms\n", characters,
                        lineLength ? "lines of 300" : "one line", Median(code), Median(html), Median(file), ratio,
                        *std::max_element(gap.begin(), gap.end()));
            std::printf("   renderer %.0f MiB, file:// renderer %.0f MiB\n", ResidentMiB(preview->Engine()->page()->renderProcessPid()), ResidentMiB(floor.Pid()));
            std::fflush(stdout);
        }
    }
    std::printf("(medians of %d rounds; the beat gap is the longest of them)\n", rounds);

    // Memory must not grow with the number of previews.
    SetControlText(input, UnicodeToText(MixedText(999, 0)));
    QTest::keyClick(input, Qt::Key_End, Qt::ControlModifier);
    const qint64 renderer = preview->Engine()->page()->renderProcessPid();
    const qint64 self = QCoreApplication::applicationPid();
    double window100 = 0, renderer100 = 0;
    for (int round = 0; round < 600; ++round) {
        const int loaded = preview->LoadedCount();
        QTest::keyClick(input, round % 2 ? Qt::Key_Backspace : Qt::Key_X);
        WaitUntil([&] { return preview->LoadedCount() > loaded; });
        if (round == 99) window100 = ResidentMiB(self), renderer100 = ResidentMiB(renderer);
    }
    std::printf("resident memory after 100 / 600 previews of 1,000 characters: window %.0f / %.0f MiB, "
                "renderer %.0f / %.0f MiB\n", window100, ResidentMiB(self), renderer100, ResidentMiB(renderer));
    return 0;
}
