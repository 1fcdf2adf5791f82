#include "window/text_box.h"

#include <QInputMethodEvent>
#include <QTextDocument>

#include "window/text_codec.h"

namespace bbcolour::desktop {

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    // The code is one long paragraph that switches between ASCII tags and
    // the units' scripts at every character; shaping only where a script
    // needs it lays it out about three times faster.
    QFont plain = font();
    plain.setStyleStrategy(QFont::PreferNoShaping);
    setFont(plain);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    // textChanged comes once per edit block, so a paste is one change.
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!composing_) emit contentChanged();
    });
}

Text TextBox::GetText() const {
    if (holdsExact_ && !document()->isModified()) return exact_;
    return UnicodeToText(document()->toRawText());
}

void TextBox::SetText(const Text& text) {
    exact_ = text;
    holdsExact_ = true;
    // QPlainTextEdit turns every CR into a line break, so the bytes are kept
    // beside the document and handed back while it is unmodified.
    setPlainText(TextToUnicode(text));
    document()->setModified(false);
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() || event->replacementLength() != 0) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    // Preedit only: the composing text is not input. It can still replace a
    // selection, which is a change of its own.
    const QString before = document()->toRawText();
    composing_ = true;
    QPlainTextEdit::inputMethodEvent(event);
    composing_ = false;
    if (document()->toRawText() != before) emit contentChanged();
}

}  // namespace bbcolour::desktop
