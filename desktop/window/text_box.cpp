#include "window/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyleHints>
#include <QTextLayout>
#include <algorithm>
#include <tuple>

#include "window/text_codec.h"

namespace bbcolour::desktop {

namespace {

// A paragraph is laid out in pieces of about this many characters, each
// started where a line of the one before began, so the lines come out as
// if the paragraph had been laid out whole.
constexpr int kPieceLength = 2000;
constexpr qreal kMargin = 4;  // between the frame and the text

bool IsBreak(QChar c) { return c == u'\n' || c == u'\r'; }

}  // namespace

TextBox::TextBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression, false);
    setCursor(Qt::IBeamCursor);
    setAutoFillBackground(true);
    // The code switches between ASCII tags and the units' scripts at every
    // character; shaping only where a script needs it is much faster.
    QFont plain = font();
    plain.setStyleStrategy(QFont::PreferNoShaping);
    setFont(plain);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    setBackgroundRole(QPalette::Base);
    connect(&blink_, &QTimer::timeout, this, [this] {
        caretShown_ = !caretShown_;
        update(CursorRect().toAlignedRect().adjusted(-1, -1, 1, 1));
    });
}

TextBox::~TextBox() = default;

// ---- Text and changes -------------------------------------------------------

Text TextBox::GetText() const {
    if (holdsExact_) return exact_;
    return UnicodeToText(text_);  // every line break as CR LF
}

void TextBox::SetText(const Text& text) {
    exact_ = text;
    holdsExact_ = true;
    text_ = TextToUnicode(text);
    cursor_ = anchor_ = 0;
    goalX_ = -1;
    undo_.clear();
    redo_.clear();
    typing_ = false;
    Invalidate(0);
    top_ = 0;
    update();
    emit contentChanged();
}

void TextBox::Replace(int from, int to, const QString& with, bool typing) {
    if (from == to && with.isEmpty()) return;
    const QString removed = text_.mid(from, to - from);
    if (typing && typing_ && !undo_.empty() && removed.isEmpty() &&
        undo_.back().position + undo_.back().inserted.size() == from) {
        undo_.back().inserted += with;
    } else {
        undo_.push_back({from, removed, with});
    }
    typing_ = typing;
    redo_.clear();
    Splice(from, to - from, with);
}

void TextBox::Splice(int from, int length, const QString& with) {
    text_.replace(from, length, with);
    holdsExact_ = false;
    Invalidate(from);
    cursor_ = anchor_ = from + static_cast<int>(with.size());
    goalX_ = -1;
    EnsureCursorVisible();
    RestartBlink();
    update();
    emit contentChanged();
}

void TextBox::Apply(std::vector<Edit>& from, std::vector<Edit>& to, bool forward) {
    if (from.empty()) return;
    Edit edit = std::move(from.back());
    from.pop_back();
    const QString& now = forward ? edit.removed : edit.inserted;
    const QString& then = forward ? edit.inserted : edit.removed;
    typing_ = false;
    Splice(edit.position, static_cast<int>(now.size()), then);
    to.push_back(std::move(edit));
}

void TextBox::undo() { Apply(undo_, redo_, false); }
void TextBox::redo() { Apply(redo_, undo_, true); }

void TextBox::insertPlainText(const QString& text) {
    Replace(std::min(cursor_, anchor_), std::max(cursor_, anchor_), text);
}

QString TextBox::SelectedText() const {
    const int from = std::min(cursor_, anchor_);
    return text_.mid(from, std::abs(cursor_ - anchor_));
}

void TextBox::selectAll() {
    anchor_ = 0;
    MoveCursor(static_cast<int>(text_.size()), true);
}

void TextBox::copy() const {
    if (cursor_ != anchor_) QGuiApplication::clipboard()->setText(SelectedText());
}

void TextBox::cut() {
    if (cursor_ == anchor_) return;
    copy();
    insertPlainText({});
}

void TextBox::paste() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText()) insertPlainText(data->text());
}

// ---- Layout -----------------------------------------------------------------

QRectF TextBox::TextArea() const {
    return QRectF(contentsRect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

qreal TextBox::WrapWidth() const { return std::max<qreal>(TextArea().width(), 1); }

void TextBox::Invalidate(int from) {
    // Lines ending before the line above the change stay as they are: a
    // line's breaks depend only on the text from its start on.
    int keep = 0;
    if (from > 0 && !lines_.empty()) {
        const auto after = std::upper_bound(lines_.begin(), lines_.end(), from,
                                            [](int position, const Line& line) { return position < line.start; });
        keep = std::max(0, static_cast<int>(after - lines_.begin()) - 2);
    }
    lines_.resize(keep);
    const int piecesKept = lines_.empty() ? 0 : lines_.back().piece + 1;
    pieces_.resize(piecesKept);
    laidTo_ = lines_.empty() ? 0 : lines_.back().next;
    laidAll_ = false;
}

bool TextBox::LayOutNext() {
    if (laidAll_) return false;
    const int size = static_cast<int>(text_.size());
    const int start = laidTo_;
    const int limit = std::min(size, start + kPieceLength);
    int end = start;
    while (end < limit && !IsBreak(text_[end])) ++end;
    // The piece ends its paragraph at a break or at the end of the text;
    // otherwise its last line may be cut short and is laid out again as
    // the start of the next piece.
    const bool paragraphEnds = end < limit || end == size;

    Piece piece{std::make_unique<QTextLayout>(text_.mid(start, end - start), font()), start,
                lines_.empty() ? 0 : lines_.back().y + lines_.back().height};
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    piece.layout->setTextOption(option);
    piece.layout->setCacheEnabled(true);
    piece.layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = piece.layout->createLine(); line.isValid(); line = piece.layout->createLine()) {
        line.setLineWidth(WrapWidth());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    piece.layout->endLayout();

    int count = piece.layout->lineCount();
    if (!paragraphEnds && count > 1) {
        --count;
        // Out of sight, below every other line (and within the range of
        // Qt's fixed-point positions): the next piece shows this line.
        QTextLine last = piece.layout->lineAt(count);
        last.setPosition(QPointF(0, 1e7));
    }
    const int pieceIndex = static_cast<int>(pieces_.size());
    for (int i = 0; i < count; ++i) {
        const QTextLine line = piece.layout->lineAt(i);
        const int lineStart = start + line.textStart();
        int next = lineStart + line.textLength();
        if (i == count - 1) {
            if (paragraphEnds) {
                next = end + BreakLength(end);
            } else if (count < piece.layout->lineCount()) {
                next = start + piece.layout->lineAt(count).textStart();
            }
        }
        lines_.push_back({lineStart, line.textLength(), next, piece.y + line.y(), line.height(), pieceIndex, i});
    }
    pieces_.push_back(std::move(piece));
    laidTo_ = lines_.back().next;
    // A text that ends with a break has an empty last line after it.
    laidAll_ = paragraphEnds && end == size;
    return true;
}

int TextBox::LineIndexAt(int position) {
    while ((lines_.empty() || lines_.back().next <= position) && LayOutNext()) {
    }
    const auto after = std::upper_bound(lines_.begin(), lines_.end(), position,
                                        [](int p, const Line& line) { return p < line.start; });
    return std::max(0, static_cast<int>(after - lines_.begin()) - 1);
}

const TextBox::Line& TextBox::LineAt(int position) { return lines_[LineIndexAt(position)]; }

int TextBox::LineIndexAtY(qreal y) {
    while ((lines_.empty() || lines_.back().y + lines_.back().height <= y) && LayOutNext()) {
    }
    const auto after = std::upper_bound(lines_.begin(), lines_.end(), y,
                                        [](qreal v, const Line& line) { return v < line.y; });
    return std::max(0, static_cast<int>(after - lines_.begin()) - 1);
}

void TextBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Invalidate(0);
    EnsureCursorVisible();
}

// ---- Caret and movement -----------------------------------------------------

int TextBox::BreakLength(int position) const {
    if (position >= text_.size() || !IsBreak(text_[position])) return 0;
    return text_[position] == u'\r' && position + 1 < text_.size() && text_[position + 1] == u'\n' ? 2 : 1;
}

int TextBox::Step(int position, bool forward, bool words) {
    const int size = static_cast<int>(text_.size());
    const auto mode = words ? QTextLayout::SkipWords : QTextLayout::SkipCharacters;
    if (forward) {
        if (position >= size) return size;
        if (const int length = BreakLength(position)) return position + length;
        const Line& line = LineAt(position);
        const Piece& piece = pieces_[line.piece];
        return piece.base + piece.layout->nextCursorPosition(position - piece.base, mode);
    }
    if (position <= 0) return 0;
    if (IsBreak(text_[position - 1]))
        return position - ((text_[position - 1] == u'\n' && position >= 2 && text_[position - 2] == u'\r') ? 2 : 1);
    // At the start of a wrapped line the character before belongs to the
    // line above, whose piece holds it.
    int index = LineIndexAt(position);
    if (lines_[index].start == position && index > 0) --index;
    const Piece& piece = pieces_[lines_[index].piece];
    return piece.base + piece.layout->previousCursorPosition(position - piece.base, mode);
}

void TextBox::MoveCursor(int position, bool keepAnchor, bool keepGoal) {
    cursor_ = std::clamp(position, 0, static_cast<int>(text_.size()));
    if (!keepAnchor) anchor_ = cursor_;
    if (!keepGoal) goalX_ = -1;
    typing_ = false;
    if (cursor_ != anchor_ && QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(SelectedText(), QClipboard::Selection);
    EnsureCursorVisible();
    RestartBlink();
    update();
}

void TextBox::SetCursorPosition(int position, bool keepAnchor) { MoveCursor(position, keepAnchor); }

void TextBox::MoveVertically(qreal lines, bool keepAnchor) {
    const int index = LineIndexAt(cursor_);
    const Line& line = lines_[index];
    const Piece& piece = pieces_[line.piece];
    if (goalX_ < 0) goalX_ = piece.layout->lineAt(line.index).cursorToX(cursor_ - piece.base);
    const qreal goal = goalX_;
    int target = index;
    if (lines > 0) {
        qreal y = line.y + line.height * lines;
        target = LineIndexAtY(y);
        if (target == index && lines_.size() > static_cast<size_t>(index) + 1) target = index + 1;
        if (target == index) {  // on the last line: to the end
            MoveCursor(static_cast<int>(text_.size()), keepAnchor);
            return;
        }
    } else {
        if (index == 0) {
            MoveCursor(0, keepAnchor);
            return;
        }
        target = LineIndexAtY(std::max<qreal>(0, line.y + line.height * lines));
        if (target == index) target = index - 1;
    }
    const Line& to = lines_[target];
    const Piece& toPiece = pieces_[to.piece];
    const int position = toPiece.base + toPiece.layout->lineAt(to.index).xToCursor(goal);
    MoveCursor(std::clamp(position, to.start, to.start + to.length), keepAnchor, true);
    goalX_ = goal;
}

QRectF TextBox::CursorRect() {
    const Line& line = LineAt(cursor_);
    const Piece& piece = pieces_[line.piece];
    const qreal x = piece.layout->lineAt(line.index).cursorToX(cursor_ - piece.base);
    const QRectF area = TextArea();
    return QRectF(area.left() + x, area.top() + line.y - top_, 1, line.height);
}

void TextBox::ScrollTo(qreal top) {
    top = std::max<qreal>(0, top);
    if (top == top_) return;
    top_ = top;
    update();
}

void TextBox::EnsureCursorVisible() {
    const Line& line = LineAt(cursor_);
    const qreal height = TextArea().height();
    if (line.y < top_) ScrollTo(line.y);
    else if (line.y + line.height > top_ + height) ScrollTo(line.y + line.height - height);
}

void TextBox::RestartBlink() {
    caretShown_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0) blink_.start(flash / 2);
    else blink_.stop();
}

int TextBox::PositionAt(QPointF point) {
    const QRectF area = TextArea();
    const int index = LineIndexAtY(std::max<qreal>(0, point.y() - area.top() + top_));
    const Line& line = lines_[index];
    const Piece& piece = pieces_[line.piece];
    const int position = piece.base + piece.layout->lineAt(line.index).xToCursor(point.x() - area.left());
    return std::clamp(position, line.start, line.start + line.length);
}

// ---- Painting ---------------------------------------------------------------

void TextBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRectF area = TextArea();
    painter.setClipRect(contentsRect());
    const int from = std::min(cursor_, anchor_), to = std::max(cursor_, anchor_);
    QTextCharFormat selected;
    selected.setBackground(palette().brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
    selected.setForeground(palette().brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::HighlightedText));
    painter.setPen(palette().color(QPalette::Text));

    const qreal bottom = top_ + area.height() + kMargin;
    int piece = -1;
    for (int i = LineIndexAtY(std::max<qreal>(0, top_ - kMargin)); i < static_cast<int>(lines_.size()); ++i) {
        const Line& line = lines_[i];
        if (line.y > bottom) break;
        if (line.piece == piece) continue;  // a piece draws all its lines in view at once
        piece = line.piece;
        const Piece& p = pieces_[piece];
        QList<QTextLayout::FormatRange> selections;
        const int length = static_cast<int>(p.layout->text().size());
        if (from < to && from < p.base + length + 1 && to > p.base) {
            const int start = std::max(from - p.base, 0);
            selections.push_back({start, std::min(to - p.base, length) - start, selected});
        }
        const QPointF origin(area.left(), area.top() + p.y - top_);
        // Only the lines in view: the clip is in the painter's coordinates.
        p.layout->draw(&painter, origin, selections, QRectF(contentsRect()));
        // A selected line break shows as a little space after its line.
        if (from < to)
            for (int j = i; j < static_cast<int>(lines_.size()) && lines_[j].piece == piece; ++j) {
                const Line& l = lines_[j];
                const int breakAt = l.start + l.length;
                if (breakAt >= from && breakAt < to && BreakLength(breakAt) > 0) {
                    const qreal x = p.layout->lineAt(l.index).naturalTextWidth();
                    painter.fillRect(QRectF(area.left() + x, area.top() + l.y - top_, 4, l.height), selected.background());
                }
            }
    }

    const QRectF caret = CursorRect();
    if (!preedit_.isEmpty()) {
        // The composing text, underlined, over the text at the caret.
        const QFontMetricsF metrics(font());
        const QRectF box(caret.left(), caret.top(), metrics.horizontalAdvance(preedit_) + 2, caret.height());
        painter.fillRect(box, palette().base());
        QFont underlined = font();
        underlined.setUnderline(true);
        painter.setFont(underlined);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, preedit_);
        if (hasFocus()) {
            const qreal x = caret.left() + metrics.horizontalAdvance(preedit_.left(preeditCursor_));
            painter.fillRect(QRectF(x, caret.top(), 1, caret.height()), palette().text());
        }
    } else if (hasFocus() && caretShown_) {
        painter.fillRect(caret, palette().text());
    }
}

// ---- Keyboard, mouse, focus -------------------------------------------------

bool TextBox::event(QEvent* event) {
    // Editing keys belong to the box, not to shortcuts elsewhere.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        for (auto standard : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo,
                              QKeySequence::Redo, QKeySequence::SelectAll, QKeySequence::Delete})
            if (key->matches(standard)) {
                event->accept();
                return true;
            }
    }
    return QFrame::event(event);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const int size = static_cast<int>(text_.size());
    const qreal page = std::max<qreal>(1, TextArea().height() / std::max<qreal>(1, LineAt(cursor_).height) - 1);
    const bool hasSelection = cursor_ != anchor_;
    const int from = std::min(cursor_, anchor_), to = std::max(cursor_, anchor_);
    struct Move {
        QKeySequence::StandardKey key;
        bool select;
        int how;  // 0 char, 1 word, 2 line, 3 page, 4 line start/end, 5 document
        bool forward;
    };
    static const Move moves[] = {
        {QKeySequence::MoveToNextChar, false, 0, true},       {QKeySequence::MoveToPreviousChar, false, 0, false},
        {QKeySequence::SelectNextChar, true, 0, true},        {QKeySequence::SelectPreviousChar, true, 0, false},
        {QKeySequence::MoveToNextWord, false, 1, true},       {QKeySequence::MoveToPreviousWord, false, 1, false},
        {QKeySequence::SelectNextWord, true, 1, true},        {QKeySequence::SelectPreviousWord, true, 1, false},
        {QKeySequence::MoveToNextLine, false, 2, true},       {QKeySequence::MoveToPreviousLine, false, 2, false},
        {QKeySequence::SelectNextLine, true, 2, true},        {QKeySequence::SelectPreviousLine, true, 2, false},
        {QKeySequence::MoveToNextPage, false, 3, true},       {QKeySequence::MoveToPreviousPage, false, 3, false},
        {QKeySequence::SelectNextPage, true, 3, true},        {QKeySequence::SelectPreviousPage, true, 3, false},
        {QKeySequence::MoveToEndOfLine, false, 4, true},      {QKeySequence::MoveToStartOfLine, false, 4, false},
        {QKeySequence::SelectEndOfLine, true, 4, true},       {QKeySequence::SelectStartOfLine, true, 4, false},
        {QKeySequence::MoveToEndOfDocument, false, 5, true},  {QKeySequence::MoveToStartOfDocument, false, 5, false},
        {QKeySequence::SelectEndOfDocument, true, 5, true},   {QKeySequence::SelectStartOfDocument, true, 5, false},
    };
    for (const Move& move : moves) {
        if (!event->matches(move.key)) continue;
        switch (move.how) {
            case 0:
                // Without shift, a selection collapses to its side.
                if (hasSelection && !move.select) MoveCursor(move.forward ? to : from, false);
                else MoveCursor(Step(cursor_, move.forward, false), move.select);
                break;
            case 1: MoveCursor(Step(cursor_, move.forward, true), move.select); break;
            case 2: MoveVertically(move.forward ? 1 : -1, move.select); break;
            case 3: MoveVertically(move.forward ? page : -page, move.select); break;
            case 4: {
                const Line& line = LineAt(cursor_);
                int end = line.start + line.length;
                // A wrapped line's end is the next line's start; stop before
                // the space it wrapped at instead.
                if (end == line.next && end > line.start && text_[end - 1].isSpace()) --end;
                MoveCursor(move.forward ? end : line.start, move.select);
                break;
            }
            default: MoveCursor(move.forward ? size : 0, move.select);
        }
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) return selectAll();
    if (event->matches(QKeySequence::Copy)) return copy();
    if (event->matches(QKeySequence::Cut)) return cut();
    if (event->matches(QKeySequence::Paste)) return paste();
    if (event->matches(QKeySequence::Undo)) return undo();
    if (event->matches(QKeySequence::Redo)) return redo();
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        const bool forward = event->key() != Qt::Key_Backspace;
        if (hasSelection) return Replace(from, to, {});
        // Backspace takes one code point of a cluster, Delete the whole cluster.
        int other = forward ? Step(cursor_, true, false) : Step(cursor_, false, false);
        if (!forward && other < cursor_ - 1 && !IsBreak(text_[cursor_ - 1]))
            other = cursor_ - (QChar::isLowSurrogate(text_[cursor_ - 1].unicode()) && cursor_ >= 2 ? 2 : 1);
        return Replace(std::min(other, cursor_), std::max(other, cursor_), {});
    }
    if (event->matches(QKeySequence::DeleteEndOfWord) || event->matches(QKeySequence::DeleteStartOfWord)) {
        if (hasSelection) return Replace(from, to, {});
        const int other = Step(cursor_, event->matches(QKeySequence::DeleteEndOfWord), true);
        return Replace(std::min(other, cursor_), std::max(other, cursor_), {});
    }
    if (event->matches(QKeySequence::InsertParagraphSeparator) || event->matches(QKeySequence::InsertLineSeparator))
        return Replace(from, to, QStringLiteral("\n"), true);
    const QString typed = event->text();
    if (!typed.isEmpty() && (typed[0].isPrint() || typed[0] == u'\t' || typed[0].isSurrogate()) &&
        !(event->modifiers() & Qt::ControlModifier) && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab)
        return Replace(from, to, typed, true);
    QFrame::keyPressEvent(event);
}

void TextBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        MoveCursor(PositionAt(event->position()), false);
        insertPlainText(QGuiApplication::clipboard()->text(QClipboard::Selection));
        return;
    }
    if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
    selecting_ = true;
    wordSelecting_ = false;
    MoveCursor(PositionAt(event->position()), event->modifiers() & Qt::ShiftModifier);
}

void TextBox::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
    const int position = PositionAt(event->position());
    if (!wordSelecting_) return MoveCursor(position, true);
    // Whole words, from the one double-clicked on.
    const auto [start, end] = WordAt(position);
    if (position >= wordStart_) {
        anchor_ = wordStart_;
        MoveCursor(std::max(end, wordEnd_), true);
    } else {
        anchor_ = wordEnd_;
        MoveCursor(start, true);
    }
}

void TextBox::mouseReleaseEvent(QMouseEvent*) { selecting_ = false; }

std::pair<int, int> TextBox::WordAt(int position) const {
    const int size = static_cast<int>(text_.size());
    const auto isWord = [](QChar c) { return c.isLetterOrNumber() || c.isMark() || c == u'_'; };
    int start = position, end = position;
    if ((end < size && isWord(text_[end])) || (start > 0 && isWord(text_[start - 1]))) {
        while (start > 0 && isWord(text_[start - 1])) --start;
        while (end < size && isWord(text_[end])) ++end;
    } else if (end < size && !IsBreak(text_[end])) {
        end += QChar::isHighSurrogate(text_[end].unicode()) && end + 1 < size ? 2 : 1;
    }
    return {start, end};
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    std::tie(wordStart_, wordEnd_) = WordAt(PositionAt(event->position()));
    anchor_ = wordStart_;
    MoveCursor(wordEnd_, true);
    selecting_ = wordSelecting_ = true;
}

void TextBox::wheelEvent(QWheelEvent* event) {
    const qreal lineHeight = QFontMetricsF(font()).lineSpacing();
    const qreal delta = -event->angleDelta().y() / 120.0 * QApplication::wheelScrollLines() * lineHeight;
    qreal top = top_ + delta;
    const qreal height = TextArea().height();
    const int last = LineIndexAtY(top + height);
    if (laidAll_ && last == static_cast<int>(lines_.size()) - 1)
        top = std::min(top, std::max<qreal>(0, lines_.back().y + lines_.back().height - height));
    ScrollTo(top);
    event->accept();
}

void TextBox::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    RestartBlink();
    update();
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    blink_.stop();
    update();
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    // The usual edit menu, in Qt's own words (and translations).
    const auto text = [](const char* source) { return QCoreApplication::translate("QWidgetTextControl", source); };
    QMenu menu(this);
    const bool hasSelection = cursor_ != anchor_;
    menu.addAction(text("&Undo"), QKeySequence::Undo, this, &TextBox::undo)->setEnabled(!undo_.empty());
    menu.addAction(text("&Redo"), QKeySequence::Redo, this, &TextBox::redo)->setEnabled(!redo_.empty());
    menu.addSeparator();
    menu.addAction(text("Cu&t"), QKeySequence::Cut, this, &TextBox::cut)->setEnabled(hasSelection);
    menu.addAction(text("&Copy"), QKeySequence::Copy, this, &TextBox::copy)->setEnabled(hasSelection);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    menu.addAction(text("&Paste"), QKeySequence::Paste, this, &TextBox::paste)->setEnabled(data && data->hasText());
    menu.addAction(text("Delete"), this, [this] { insertPlainText({}); })->setEnabled(hasSelection);
    menu.addSeparator();
    menu.addAction(text("Select All"), QKeySequence::SelectAll, this, &TextBox::selectAll)
        ->setEnabled(!text_.isEmpty());
    menu.exec(event->globalPos());
}

// ---- Input methods ----------------------------------------------------------

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    const int from = std::min(cursor_, anchor_), to = std::max(cursor_, anchor_);
    const bool changes = !event->commitString().isEmpty() || event->replacementLength() != 0 ||
                         (from != to && !event->preeditString().isEmpty());
    if (changes) {
        int start = from, end = to;
        if (event->replacementLength() != 0 || event->replacementStart() != 0) {
            start = std::clamp(cursor_ + event->replacementStart(), 0, static_cast<int>(text_.size()));
            end = std::clamp(start + event->replacementLength(), start, static_cast<int>(text_.size()));
            if (from != to) start = std::min(start, from), end = std::max(end, to);
        }
        // Composing over a selection replaces it: a change of its own.
        Replace(start, end, event->commitString());
    }
    preedit_ = event->preeditString();
    preeditCursor_ = static_cast<int>(preedit_.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes())
        if (attribute.type == QInputMethodEvent::Cursor) preeditCursor_ = attribute.start;
    update();
    event->accept();
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    auto* self = const_cast<TextBox*>(this);
    // Around the caret only: the text may be millions of characters.
    constexpr int kAround = 256;
    const int start = std::max(0, std::min(cursor_, anchor_) - kAround);
    switch (query) {
        case Qt::ImEnabled: return true;
        case Qt::ImCursorRectangle: return self->CursorRect().toAlignedRect();
        case Qt::ImFont: return font();
        case Qt::ImCursorPosition: return cursor_ - start;
        case Qt::ImAnchorPosition: return anchor_ - start;
        case Qt::ImSurroundingText: return text_.mid(start, std::max(cursor_, anchor_) + kAround - start);
        case Qt::ImCurrentSelection: return SelectedText();
        case Qt::ImHints: return static_cast<int>(Qt::ImhMultiLine);
        case Qt::ImAbsolutePosition: return cursor_;
        default: return QFrame::inputMethodQuery(query);
    }
}

}  // namespace bbcolour::desktop
