#include "window/services.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include "window/text_codec.h"

namespace bbcolour::desktop {

void DeliverPendingInput() {
    // Loops while there is something to deliver: keys read from the display
    // in one pass reach their widgets in the next. 100 ms bounds it when
    // other work (a preview loading) keeps arriving.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
}

QString DefaultCaption() { return QString::fromUtf8("信息："); }

bool CopyTextToClipboard(const Text& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    const QString unicode = TextToUnicode(text);
    clipboard->setText(unicode, QClipboard::Clipboard);
    // On X11 setting the text means taking ownership of the selection; when
    // that fails the program does not own the clipboard.
    if (clipboard->supportsSelection()) return clipboard->ownsClipboard();
    return clipboard->text(QClipboard::Clipboard) == unicode;
}

int ShowMessageBox(const Text& text, int flags, const Text& caption) {
    QMessageBox box;
    box.setWindowTitle(caption.empty() ? DefaultCaption() : TextToUnicode(caption));
    box.setText(TextToUnicode(text));
    box.setIcon((flags & 0x70) == kIconQuestion ? QMessageBox::Question
                : (flags & 0x70) == kIconStop   ? QMessageBox::Critical
                                                : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

}  // namespace bbcolour::desktop
