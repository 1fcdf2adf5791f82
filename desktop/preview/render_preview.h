// Shows colour code as coloured text in the preview area.
#pragma once

#include <QPointer>
#include <QWidget>

#include "bbcolour/text.h"

namespace bbcolour::desktop {

class MainWindow;
class PreviewView;

// A reference to the view's current document, empty when none is available.
struct PreviewDocument {
    QPointer<PreviewView> view;
};

// Fills `document` with the document of the preview view at `handle`;
// true exactly when one was available.
bool GetPreviewDocument(QWidget* handle, PreviewDocument& document);

// Converts `code` (the caller's copy, turned into the HTML in place) and
// replaces the whole preview document with it. Failures are silent and
// keep the previous preview.
void RenderPreview(MainWindow& window, Text& code);

}  // namespace bbcolour::desktop
