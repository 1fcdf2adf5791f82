#include "preview/render_preview.h"

#include <utility>

#include "bbcolour/preview_html.h"
#include "preview/preview_view.h"
#include "window/main_window.h"

namespace bbcolour::desktop {

bool GetPreviewDocument(QWidget* handle, PreviewDocument& document) {
    auto* view = qobject_cast<PreviewView*>(handle);
    if (!view) return false;
    document.view = view;
    return true;
}

void RenderPreview(MainWindow& window, Text& code) {
    PreviewDocument document;
    QWidget* handle = GetWindowHandle(window.Browser());
    GetPreviewDocument(handle, document);
    code = ConvertCodeToHtml(code);
    if (document.view)
        document.view->ReplaceDocument(std::move(code));  // the caller's copy, no longer used
}

}  // namespace bbcolour::desktop
