// Clipboard and message boxes of the window layer.
#pragma once

#include <QString>

#include "bbcolour/text.h"

namespace bbcolour::desktop {

// Message box flags, as the handlers pass them.
inline constexpr int kIconStop = 16;      // a fatal error
inline constexpr int kIconQuestion = 32;  // the copy confirmation

// Puts `text` on the clipboard as plain UTF-8 text. True when the program
// then owns the clipboard (or, without ownership, holds the text).
bool CopyTextToClipboard(const Text& text);

// A modal box without an owner, blocking input to the program's windows:
// the text, the caption ("信息：" when none), the icon from `flags`, one OK
// button. Returns when the user closes it.
int ShowMessageBox(const Text& text, int flags, const Text& caption = {});

// Delivers the input events that have reached the program but still wait in
// its queues. A copy request comes on another path than the keys typed
// before it (the X11 grab is read in the same batch as those keys and seen
// first; the portal and bbcolour-copy come over D-Bus): delivering them first
// makes the copy hold everything typed before the request.
void DeliverPendingInput();

// The caption of boxes shown without one: "信息：".
QString DefaultCaption();

}  // namespace bbcolour::desktop
