// The preview view: whole documents replaced in one step, nothing run,
// nothing fetched, nowhere else to go.
#include <QTcpServer>
#include <QWebEngineHistory>

#include "preview/render_preview.h"
#include "window_fixture.h"

namespace bbcolour::desktop {
namespace {

class PreviewTest : public WindowTest {
protected:
    // Replaces the document and waits until it has loaded.
    void Show(const QByteArray& html) {
        ASSERT_TRUE(WaitFor([&] { return view()->LoadedCount() >= 1; }, 90000)) << "the blank page";
        const int loaded = view()->LoadedCount();
        view()->ReplaceDocument(html.toStdString());
        ASSERT_TRUE(WaitFor([&] { return view()->LoadedCount() > loaded; }, 90000));
    }
    PreviewView* view() const { return window_->Browser(); }
};

TEST_F(PreviewTest, StartsBlankAtNormalZoom) {
    EXPECT_TRUE(WaitFor([&] { return view()->LoadedCount() >= 1; }));
    EXPECT_EQ(view()->Engine()->url(), QUrl("about:blank"));
    EXPECT_EQ(view()->Engine()->zoomFactor(), 1.0);
}

TEST_F(PreviewTest, DocumentIsReadAsGb18030) {
    Show("<span style=\"color:#2923BE \">\xD6\xD0\x94\x39\xFC\x36</span>");
    EXPECT_EQ(DocumentBody(view()), QString::fromUtf8("<span style=\"color:#2923BE \">中😀</span>"));
}

TEST_F(PreviewTest, NewerDocumentSupersedesOnesNotYetWritten) {
    ASSERT_TRUE(WaitFor([&] { return view()->LoadedCount() >= 1; }));
    const int loaded = view()->LoadedCount();
    view()->ReplaceDocument("<span>first</span>");
    view()->ReplaceDocument("<span>second</span>");
    view()->ReplaceDocument("<span>third</span>");
    EXPECT_TRUE(WaitFor([&] { return DocumentBody(view()) == "<span>third</span>"; }));
    EXPECT_LT(view()->LoadedCount(), loaded + 3) << "the second at least was never written";
    EXPECT_LE(view()->Engine()->history()->count(), 1) << "no history piles up";
}

TEST_F(PreviewTest, TextThatMeansSomethingToScriptsArrivesUnchanged) {
    // Quotes, backslashes, line terminators and NUL inside the written text;
    // the HTML parser itself folds CR LF into LF and drops NUL.
    const char html[] = "<p>\"'\\n\\\r\n\xA1\xAD\x81\x36\xA6\x35\x81\x36\xA6\x36</script>x\0y`${z}`</p>";
    Show(QByteArray(html, sizeof html - 1));
    EXPECT_EQ(DocumentBody(view()), QString::fromUtf8("<p>\"'\\n\\\n\u2026\u2028\u2029xy`${z}`</p>"));
}

TEST_F(PreviewTest, DocumentsOverTwoMegabytesShow) {
    QByteArray html;
    for (int i = 0; i < 2200; ++i) html += "<span style=\"color:#2923BE \">" + QByteArray("abcd").repeated(250) + "</span>";
    html += "<span>end</span>";
    ASSERT_GT(html.size(), 2 << 20);
    Show(html);
    EXPECT_TRUE(DocumentBody(view()).endsWith("<span>end</span>"));
}

TEST_F(PreviewTest, RunsNoScriptFetchesNothingAndStaysPut) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QByteArray remote = "http://127.0.0.1:" + QByteArray::number(server.serverPort());
    Show("<title>before</title><script>document.title = 'ran'</script>"
         "<img src=\"" + remote + "/image.png\"><link rel=\"stylesheet\" href=\"" + remote + "/style.css\">");
    // The script would have renamed the document through the title element.
    EXPECT_TRUE(DocumentHtml(view()).contains("<title>before</title>")) << DocumentHtml(view()).toStdString();
    const QUrl document = view()->Engine()->url();
    view()->Engine()->load(QUrl(QString::fromLatin1(remote + "/elsewhere")));
    Show("<span>after</span>");  // a barrier: everything asked for before has been decided
    EXPECT_FALSE(server.hasPendingConnections());
    EXPECT_FALSE(server.waitForNewConnection(0));
    EXPECT_EQ(view()->Engine()->url().scheme(), document.scheme());
}

TEST_F(PreviewTest, WithoutADocumentTheCodeBoxStillChanges) {
    PreviewDocument document;
    EXPECT_FALSE(GetPreviewDocument(window_->CodeBox(), document));
    EXPECT_TRUE(document.view.isNull());
    EXPECT_TRUE(GetPreviewDocument(view(), document));
}

TEST(PreviewStartTest, EngineAttachesAfterTheFirstPaintAndNoChangeIsLost) {
    RandomGenerator generator;
    MainWindow window(generator, nullptr);
    BindHandlers(window);
    window.RaiseCreated();
    QTest::keyClicks(window.InputBox(), "]<");  // typed before the window is shown
    EXPECT_EQ(window.Browser()->Engine(), nullptr) << "nothing of the web engine before the first paint";
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(WaitFor([&] { return window.Browser()->Engine() != nullptr; }));
    const QString expected = "<span style=\"color:#84E16C \">]</span><span style=\"color:#D6AE52 \">&lt;</span>";
    EXPECT_TRUE(WaitFor([&] { return DocumentBody(window.Browser()) == expected; }, 60000))
        << DocumentHtml(window.Browser()).toStdString();
}

}  // namespace
}  // namespace bbcolour::desktop
