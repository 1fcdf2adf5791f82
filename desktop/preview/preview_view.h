// The embedded web view of the preview: an off-the-record profile, no
// scripts, no network, no navigation away, documents served as GB18030 bytes.
#pragma once

#include <QByteArray>
#include <QWebEngineView>

namespace bbcolour::desktop {

class PreviewSchemeHandler;

// The scheme of the preview documents; registered before the application object.
inline constexpr char kPreviewScheme[] = "bbcolour-preview";
void RegisterPreviewScheme();

class PreviewView : public QWebEngineView {
    Q_OBJECT
public:
    explicit PreviewView(QWidget* parent);
    ~PreviewView() override;

    // Replaces the whole document with `html` (GB18030 bytes) in one step;
    // a newer document supersedes one still loading.
    void ReplaceDocument(QByteArray html);

    // Number of documents loaded to the end; for tests and measurements.
    int LoadedCount() const { return loaded_; }

private:
    PreviewSchemeHandler* handler_;
    quint64 serial_ = 0;
    int loaded_ = 0;
};

}  // namespace bbcolour::desktop
