#include "preview/preview_view.h"

#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

#include <utility>

#include "bbcolour/charset.h"

namespace bbcolour::desktop {

namespace {

// Blocks every request the page makes: the view loads nothing from the
// network or the file system. Written documents need no requests at all.
class BlockAllRequests : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override { info.block(true); }
};

// A page that goes nowhere but its blank start page.
class PreviewPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        return isMainFrame && type == NavigationTypeTyped && url == QUrl("about:blank");
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}
};

// Documents written into one page, in characters of script, before the
// next is written into a freshly loaded blank page instead, and before the
// page's script heap is collected.
constexpr qsizetype kFreshPageAfter = 1 << 20, kCollectAfter = 1 << 20;
constexpr int kCollectPauseMs = 500;  // a pause in typing this long

void AppendFlags(const char* variable, const QByteArray& flags) {
    QByteArray value = qgetenv(variable);
    if (!value.isEmpty()) value += ' ';
    qputenv(variable, value + flags);
}

}  // namespace

void PrepareWebEngine() {
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    // gc lets the program collect the page's script heap; the page's own
    // scripts never run, so only the program's world can call it.
    AppendFlags("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --js-flags=--expose-gc");
}

QString DocumentWriteScript(std::string_view html) {
    const std::u16string text = charset::Gb18030ToUtf16(html);
    static constexpr char16_t kOpen[] = u"document.open();document.write(\"";
    static constexpr char16_t kClose[] = u"\");document.close();";
    std::u16string script;
    script.reserve(text.size() + text.size() / 8 + 64);
    script += kOpen;
    // A JavaScript string literal: quote, backslash and the line terminators
    // escaped; NUL too, so the text cannot end the script early anywhere.
    for (const char16_t c : text) {
        switch (c) {
            case u'"': script += u"\\\""; break;
            case u'\\': script += u"\\\\"; break;
            case u'\n': script += u"\\n"; break;
            case u'\r': script += u"\\r"; break;
            case 0x2028: script += u"\\u2028"; break;
            case 0x2029: script += u"\\u2029"; break;
            case 0: script += u"\\x00"; break;
            default: script += c;
        }
    }
    script += kClose;
    return QString(reinterpret_cast<const QChar*>(script.data()), static_cast<qsizetype>(script.size()));
}

PreviewView::PreviewView(QWidget* parent) : QWidget(parent) {
    // Until the engine is attached the control shows what the blank page
    // would: white.
    setAutoFillBackground(true);
    QPalette blank = palette();
    blank.setColor(QPalette::Window, Qt::white);
    setPalette(blank);
    collectTimer_.setSingleShot(true);
    collectTimer_.setInterval(kCollectPauseMs);
    connect(&collectTimer_, &QTimer::timeout, this, &PreviewView::Collect);
    connect(&build_, &QFutureWatcher<QString>::finished, this, [this] {
        waiting_ = build_.result();
        BuildNext();
        Advance();
    });
}

PreviewView::~PreviewView() {
    // The page must go before the profile it belongs to.
    if (engine_) delete engine_->page();
}

void PreviewView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Starting the web engine takes longer than everything else before the
    // window is shown, so it starts once the window has been painted.
    if (!engine_ && !attachPending_) {
        attachPending_ = true;
        QTimer::singleShot(0, this, &PreviewView::Attach);
    }
}

void PreviewView::Attach() {
    if (engine_) return;
    // A profile without a storage name is off the record: no cache, cookies
    // or storage on disk.
    auto* profile = new QWebEngineProfile(this);
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    profile->setUrlRequestInterceptor(new BlockAllRequests(profile));

    engine_ = new QWebEngineView(this);
    auto* page = new PreviewPage(profile, engine_);
    QWebEngineSettings* settings = page->settings();
    // The page's own scripts never run; the program's write runs in a world
    // of its own, which this setting does not cover.
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    engine_->setPage(page);
    engine_->setContextMenuPolicy(Qt::NoContextMenu);  // no Back, Reload or View Source
    engine_->setZoomFactor(1.0);
    engine_->setGeometry(rect());
    setFocusProxy(engine_);
    connect(page, &QWebEnginePage::loadFinished, this, [this, page](bool ok) {
        page->history()->clear();  // one document at a time: no history piling up
        BlankLoaded(ok);
    });
    // A renderer that dies takes the document and any running write with
    // it: start again from the blank page and write the newest document.
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this, page] {
        // The document being written is written again, unless a newer one waits.
        if (state_ == State::Writing && !waiting_) waiting_ = std::move(writing_);
        state_ = State::Starting;
        writtenSinceBlank_ = writtenSinceCollection_ = 0;
        page->load(QUrl("about:blank"));
    });
    state_ = State::Starting;
    engine_->load(QUrl("about:blank"));
    engine_->show();
}

void PreviewView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (engine_) engine_->setGeometry(rect());
}

void PreviewView::ReplaceDocument(std::string html) {
    nextHtml_ = std::move(html);
    BuildNext();
    Advance();
}

void PreviewView::BuildNext() {
    if (build_.isRunning() || !nextHtml_) return;
    // Decoding and quoting a large document takes a while: off the window's thread.
    build_.setFuture(QtConcurrent::run([html = *std::exchange(nextHtml_, std::nullopt)] { return DocumentWriteScript(html); }));
}

void PreviewView::Advance() {
    if (state_ == State::Idle && DocumentComing()) {
        if (writtenSinceBlank_ < kFreshPageAfter) {
            state_ = State::Blank;  // small documents so far: written into the page as it is
        } else {
            // The blank document loads while the script is still being made.
            state_ = State::Blanking;
            writtenSinceBlank_ = 0;
            engine_->load(QUrl("about:blank"));
            return;
        }
    }
    if (state_ == State::Blank && waiting_) {
        writing_ = *std::exchange(waiting_, std::nullopt);
        writtenSinceBlank_ += writing_.size();
        writtenSinceCollection_ += writing_.size();
        // Written in one piece, the document is parsed and laid out once;
        // the answer comes when open, write and close have run.
        Run(writing_, State::Writing, &PreviewView::Written);
    }
}

void PreviewView::Run(const QString& script, State running, void (PreviewView::*then)()) {
    state_ = running;
    const quint64 run = ++runs_;
    engine_->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                   [self = QPointer<PreviewView>(this), running, run, then](const QVariant&) {
                                       // A script lost with its renderer may still answer late.
                                       if (!self || self->state_ != running || run != self->runs_) return;
                                       self->state_ = State::Idle;
                                       (self.data()->*then)();
                                   });
}

void PreviewView::Written() {
    writing_.clear();
    Finished();
    CollectIfIdle();
}

void PreviewView::BlankLoaded(bool ok) {
    if (state_ == State::Starting) {
        if (!ok) return;
        state_ = State::Idle;
        Finished();  // the blank start page counts as the first document
        return;
    }
    if (state_ != State::Blanking) return;
    if (!ok && ++blankRetries_ < 3) {
        // Another navigation got in the way (the page refuses it): blank again.
        engine_->load(QUrl("about:blank"));
        return;
    }
    blankRetries_ = 0;
    state_ = State::Blank;
    Advance();
}

void PreviewView::CollectIfIdle() {
    if (state_ != State::Idle || DocumentComing() || writtenSinceCollection_ < kCollectAfter) return;
    if (!collectTimer_.isActive()) collectTimer_.start();
}

void PreviewView::Collect() {
    if (state_ != State::Idle || DocumentComing()) return;  // typing goes on: later
    // The strings of large writes stay in the page's script heap until its
    // collector runs, which it seldom does on its own without scripts, and
    // then in the middle of a later write. Collected in a pause of typing;
    // a document that comes meanwhile waits for it.
    writtenSinceCollection_ = 0;
    Run(QStringLiteral("typeof gc === 'function' && gc()"), State::Collecting, &PreviewView::Advance);
}

bool PreviewView::Busy() const {
    return state_ != State::Idle || DocumentComing() || collectTimer_.isActive();
}

bool PreviewView::DocumentComing() const {
    return waiting_ || nextHtml_ || build_.isRunning();
}

void PreviewView::Finished() {
    ++loaded_;
    Advance();
}

}  // namespace bbcolour::desktop
