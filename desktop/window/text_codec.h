// The edge between the widgets' Unicode and the engine's GB18030 bytes.
#pragma once

#include <QString>

#include "bbcolour/text.h"

namespace bbcolour::desktop {

// Line breaks of any kind become CR LF, as a multi-line edit box hands them
// over; then GB18030, which keeps every GBK character's bytes and loses no
// character that GBK lacks. NUL characters are dropped: a Text holds none;
// an unpaired surrogate becomes U+FFFD.
Text UnicodeToText(const QString& text);

// GB18030 bytes back to Unicode, as they are (CR and LF included).
QString TextToUnicode(const Text& text);

}  // namespace bbcolour::desktop
