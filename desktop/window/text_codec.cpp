#include "window/text_codec.h"

#include "bbcolour/charset.h"

namespace bbcolour::desktop {

Text UnicodeToText(const QString& text) {
    std::u16string normalised;
    normalised.reserve(static_cast<std::size_t>(text.size() + text.size() / 16));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;  // one break with the LF
        if (u == u'\n' || u == u'\r' || u == 0x2029 || u == 0x2028) {
            normalised += u"\r\n";
        } else if (u != 0) {
            normalised += u;
        }
    }
    // The same converter as the command line's, so both give the same bytes.
    return charset::Utf16ToGb18030(normalised);
}

QString TextToUnicode(const Text& text) {
    QString unicode(static_cast<qsizetype>(text.size() + 1), Qt::Uninitialized);
    unicode.resize(static_cast<qsizetype>(charset::Gb18030ToUtf16(text, reinterpret_cast<char16_t*>(unicode.data()))));
    return unicode;
}

}  // namespace bbcolour::desktop
