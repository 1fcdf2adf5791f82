// The embedded web view of the preview: an off-the-record profile, no
// scripts of the page's own, no network, no navigation away. Documents are
// written into the page, which is about:blank, with open, write and close.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <QString>
#include <QFutureWatcher>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>

namespace bbcolour::desktop {

// Settings the web engine reads once, when it starts: no GPU or GL (a
// small text preview draws fine in software, and GL costs start-up time and
// memory), and a collector the program can call. Called before the
// application object.
void PrepareWebEngine();

// The preview control. Its web engine is attached after the window's first
// paint; until then it is blank, and documents given to it wait.
class PreviewView : public QWidget {
    Q_OBJECT
public:
    explicit PreviewView(QWidget* parent);
    ~PreviewView() override;

    // The web view inside, once attached; null before.
    QWebEngineView* Engine() const { return engine_; }
    // Attaches the web engine now, if it is not yet.
    void Attach();

    // Replaces the whole document with `html` (GB18030 bytes) in one step.
    // One document is written at a time; while one is being written only
    // the newest waiting one is kept, so a newer document supersedes older
    // ones that have not started.
    void ReplaceDocument(std::string html);

    // A document is on its way or being written, or the page is (about to
    // be) collecting.
    bool Busy() const;

    // Documents shown to the end: the blank start page, then each one
    // written; for tests and measurements.
    int LoadedCount() const { return loaded_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class State {
        Detached,  // no web engine yet
        Starting,  // the blank start page is loading
        Idle,      // showing the last document
        Blanking,  // a blank document is loading for the next write
        Blank,     // blank, waiting for the script
        Writing,   // the script is running
        Collecting,  // the page's script heap is being collected
    };

    void BuildNext();
    // Takes the next step the documents waiting allow: load a blank
    // document, or write the newest script into the blank one.
    void Advance();
    void BlankLoaded(bool ok);
    // Runs `script` in the program's own world of the page while in state
    // `running`; when it answers, back to Idle and then `then`.
    void Run(const QString& script, State running, void (PreviewView::*then)());
    void Written();
    void Finished();
    void CollectIfIdle();
    bool DocumentComing() const;  // given, being made or made, not yet written
    void Collect();

    QWebEngineView* engine_ = nullptr;
    bool attachPending_ = false;
    // The script of a document is made on a worker thread, one at a time;
    // only the newest document not yet started is kept.
    std::optional<std::string> nextHtml_;
    QFutureWatcher<QString> build_;
    std::optional<QString> waiting_;  // the script of the newest document not yet sent
    QString writing_;           // the script being written
    // Writing into the same page again and again leaves the engine holding
    // memory and time from every earlier document, so past a total size the
    // page loads a fresh blank document before the next write.
    qsizetype writtenSinceBlank_ = 0;
    State state_ = State::Detached;
    qsizetype writtenSinceCollection_ = 0;
    QTimer collectTimer_;
    int blankRetries_ = 0;
    quint64 runs_ = 0;          // scripts sent, to match their answers
    int loaded_ = 0;
};

// The script that replaces the document with `html` (GB18030 bytes):
// open, write the whole text as one string, close.
QString DocumentWriteScript(std::string_view html);

}  // namespace bbcolour::desktop
