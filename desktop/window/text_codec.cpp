#include "window/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace bbcolour::desktop {

Text UnicodeToText(const QString& text) {
    QString normalised;
    normalised.reserve(text.size() + text.size() / 16);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == 0x2029 || u == 0x2028) {
            normalised += QStringLiteral("\r\n");
        } else if (u != 0) {
            normalised += c;
        }
    }
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(normalised);
    return Text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString TextToUnicode(const Text& text) {
    QStringDecoder decoder("GB18030");
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace bbcolour::desktop
