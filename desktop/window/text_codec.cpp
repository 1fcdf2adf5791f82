#include "window/text_codec.h"

#include "bbcolour/charset.h"

namespace bbcolour::desktop {

Text UnicodeToText(const QString& text) {
    std::u16string normalised;
    normalised.reserve(static_cast<std::size_t>(text.size() + text.size() / 16));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == 0x2029 || u == 0x2028) {
            normalised += u"\r\n";
        } else if (u != 0) {
            normalised += u;
        }
    }
    // The same converter as the command line's, so both give the same bytes.
    return charset::Utf16ToGb18030(normalised);
}

QString TextToUnicode(const Text& text) {
    const std::u16string utf16 = charset::Gb18030ToUtf16(text);
    return QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
}

}  // namespace bbcolour::desktop
