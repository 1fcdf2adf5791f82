// The multi-line edit box used for the input and the code. It wraps at its
// width, has no scroll bars, and lays out only the lines it has to show:
// the code is often one paragraph of millions of characters, which a text
// box that lays out whole paragraphs cannot keep up with while typing.
#pragma once

#include <QFrame>
#include <QString>
#include <QTimer>
#include <memory>
#include <utility>
#include <vector>

#include "bbcolour/text.h"

class QTextLayout;

namespace bbcolour::desktop {

class TextBox : public QFrame {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent);
    ~TextBox() override;

    // The box's text as bytes; what SetText put there comes back byte for
    // byte (CR and LF units included) until the user edits the box.
    Text GetText() const;
    // Replaces the whole text; raises contentChanged exactly once.
    void SetText(const Text& text);

    // The text as shown, line breaks as they were typed or set.
    const QString& toPlainText() const { return text_; }
    // Replaces the selection with `text` at the caret, as typing it would.
    void insertPlainText(const QString& text);
    void selectAll();
    void copy() const;
    void cut();
    void paste();
    void undo();
    void redo();

    int CursorPosition() const { return cursor_; }
    // The selected text, exactly as it stands in the box.
    QString SelectedText() const;
    // Moves the caret to `position`; with `keepAnchor` the selection
    // stretches from where it began.
    void SetCursorPosition(int position, bool keepAnchor = false);
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // Once per change of the text: typing, deleting, paste, cut, undo, SetText.
    // Composing text of an input method is not a change; its commit is.
    void contentChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool event(QEvent* event) override;

private:
    // One shown line: [start, start + length) of the text, laid out in
    // pieces_[piece] as its line `index`; the next line starts at `next`.
    struct Line {
        int start, length, next;
        qreal y, height;
        int piece, index;
    };
    // A piece of a paragraph laid out on its own, `base` its first position.
    struct Piece {
        std::unique_ptr<QTextLayout> layout;
        int base;
        qreal y;
    };
    struct Edit {
        int position;
        QString removed, inserted;
    };

    // The core of every change: replaces [from, to) with `with`, records it
    // for undo (typing merges into one step), moves the caret behind it.
    void Replace(int from, int to, const QString& with, bool typing = false);
    // Puts `with` in place of `length` characters at `from`, the caret
    // behind it, and announces the change; Replace, undo and redo end here.
    void Splice(int from, int length, const QString& with);
    void Apply(std::vector<Edit>& from, std::vector<Edit>& to, bool forward);

    // Layout, made lazily from the top as far as it is needed.
    void Invalidate(int from);
    bool LayOutNext();
    const Line& LineAt(int position);   // the line holding `position`
    int LineIndexAt(int position);
    int LineIndexAtY(qreal y);
    qreal WrapWidth() const;
    QRectF TextArea() const;

    // Length of the line break at `position`: 2 for CR LF, 1 for CR or LF, 0.
    int BreakLength(int position) const;
    int Step(int position, bool forward, bool words);
    // The word (letters, digits, marks, underscores) at `position`, or the
    // one character there.
    std::pair<int, int> WordAt(int position) const;
    int PositionAt(QPointF point);
    void MoveCursor(int position, bool keepAnchor, bool keepGoal = false);
    void MoveVertically(qreal lines, bool keepAnchor);
    void EnsureCursorVisible();
    QRectF CursorRect();
    void ScrollTo(qreal top);
    void RestartBlink();

    QString text_;
    Text exact_;               // what SetText last put in
    bool holdsExact_ = false;  // exact_ is valid while the box is unedited
    int cursor_ = 0, anchor_ = 0;
    qreal goalX_ = -1;         // where up and down aim, kept across short lines
    QString preedit_;          // an input method's composing text
    int preeditCursor_ = 0;
    std::vector<Edit> undo_, redo_;
    bool typing_ = false;      // the last undo step is typing that may grow

    std::vector<Piece> pieces_;
    std::vector<Line> lines_;
    int laidTo_ = 0;           // where the next line starts
    bool laidAll_ = false;
    qreal top_ = 0;            // scroll offset in pixels

    QTimer blink_;
    bool caretShown_ = false;
    bool selecting_ = false;   // a mouse drag is selecting
    bool wordSelecting_ = false;
    int wordStart_ = 0, wordEnd_ = 0;  // the word a double-click selected
};

}  // namespace bbcolour::desktop
