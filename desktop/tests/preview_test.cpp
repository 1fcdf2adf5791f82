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
        const int loaded = view()->LoadedCount();
        view()->ReplaceDocument(html);
        ASSERT_TRUE(WaitFor([&] { return view()->LoadedCount() > loaded; }, 90000));
    }
    PreviewView* view() const { return window_->Browser(); }
};

TEST_F(PreviewTest, StartsBlankAtNormalZoom) {
    EXPECT_TRUE(WaitFor([&] { return view()->LoadedCount() >= 1; }));
    EXPECT_EQ(view()->url(), QUrl("about:blank"));
    EXPECT_EQ(view()->zoomFactor(), 1.0);
}

TEST_F(PreviewTest, DocumentIsReadAsGb18030) {
    Show("<span style=\"color:#2923BE \">\xD6\xD0\x94\x39\xFC\x36</span>");
    EXPECT_EQ(DocumentBody(view()), QString::fromUtf8("<span style=\"color:#2923BE \">中😀</span>"));
}

TEST_F(PreviewTest, NewerDocumentSupersedesOneStillLoading) {
    view()->ReplaceDocument("<span>first</span>");
    Show("<span>second</span>");
    EXPECT_TRUE(WaitFor([&] { return DocumentBody(view()) == "<span>second</span>"; }));
    EXPECT_LE(view()->history()->count(), 1) << "no history piles up";
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
    EXPECT_EQ(view()->title(), "before");
    const QUrl document = view()->url();
    view()->load(QUrl(QString::fromLatin1(remote + "/elsewhere")));
    Show("<span>after</span>");  // a barrier: everything asked for before has been decided
    EXPECT_FALSE(server.hasPendingConnections());
    EXPECT_FALSE(server.waitForNewConnection(0));
    EXPECT_EQ(view()->url().scheme(), document.scheme());
}

TEST_F(PreviewTest, WithoutADocumentTheCodeBoxStillChanges) {
    PreviewDocument document;
    EXPECT_FALSE(GetPreviewDocument(window_->CodeBox(), document));
    EXPECT_TRUE(document.view.isNull());
    EXPECT_TRUE(GetPreviewDocument(view(), document));
}

}  // namespace
}  // namespace bbcolour::desktop
