// The multi-line edit box used for the input and the code.
#pragma once

#include <QPlainTextEdit>

#include "bbcolour/text.h"

namespace bbcolour::desktop {

class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent);

    // The box's text as bytes; what SetText put there comes back byte for
    // byte (CR and LF units included) until the user edits the box.
    Text GetText() const;
    // Replaces the whole text; raises contentChanged exactly once.
    void SetText(const Text& text);

signals:
    // Once per change of the text: typing, deleting, paste, cut, undo, SetText.
    // Composing text of an input method is not a change; its commit is.
    void contentChanged();

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    Text exact_;               // what SetText last put in
    bool holdsExact_ = false;  // exact_ is valid while the document is unmodified
    bool composing_ = false;   // inside a preedit-only input method event
};

}  // namespace bbcolour::desktop
