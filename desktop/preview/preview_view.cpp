#include "preview/preview_view.h"

#include <QBuffer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace bbcolour::desktop {

void RegisterPreviewScheme() {
    // One fixed host makes every preview document the same origin, so a
    // new document reuses the page's renderer process instead of starting
    // another one per navigation (an opaque origin per URL would).
    QWebEngineUrlScheme scheme(kPreviewScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

// Serves the current preview document. Only the newest is kept: a request
// for an older one (superseded while loading) gets the newest, which is
// what the view is about to show anyway.
class PreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void SetDocument(QByteArray html) { html_ = std::move(html); }
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        auto* body = new QBuffer(job);  // lives as long as the job reads it
        body->setData(html_);
        job->reply("text/html;charset=GB18030", body);
    }

private:
    QByteArray html_;
};

namespace {

// Blocks every request that is not for a preview document: the view loads
// nothing from the network or the file system.
class BlockOtherRequests : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (info.requestUrl().scheme() != QLatin1String(kPreviewScheme)) info.block(true);
    }
};

// A page that goes only where the program sends it.
class PreviewPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        return isMainFrame && type == NavigationTypeTyped &&
               (url.scheme() == QLatin1String(kPreviewScheme) || url == QUrl("about:blank"));
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}
};

}  // namespace

PreviewView::PreviewView(QWidget* parent) : QWebEngineView(parent) {
    // A profile without a storage name is off the record: no cache, cookies
    // or storage on disk.
    auto* profile = new QWebEngineProfile(this);
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    profile->setUrlRequestInterceptor(new BlockOtherRequests(profile));
    handler_ = new PreviewSchemeHandler(profile);
    profile->installUrlSchemeHandler(kPreviewScheme, handler_);

    auto* page = new PreviewPage(profile, this);
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    setPage(page);
    setContextMenuPolicy(Qt::NoContextMenu);  // no Back, Reload or View Source
    setZoomFactor(1.0);
    connect(page, &QWebEnginePage::loadFinished, this, [this, page](bool ok) {
        if (ok) ++loaded_;
        page->history()->clear();  // one document at a time: no history piling up
    });
    load(QUrl("about:blank"));
}

PreviewView::~PreviewView() {
    // The page must go before the profile it belongs to.
    delete page();
}

void PreviewView::ReplaceDocument(QByteArray html) {
    handler_->SetDocument(std::move(html));
    load(QUrl(QStringLiteral("%1://preview/%2").arg(kPreviewScheme).arg(++serial_)));
}

}  // namespace bbcolour::desktop
