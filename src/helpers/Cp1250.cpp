#include "helpers/Cp1250.h"

#include <QHash>
#include <QStringDecoder>
#include <array>

namespace Cp1250 {

namespace {

struct Tables
{
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    Tables()
    {
        QStringDecoder decoder("windows-1250");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString s = decoder(QByteArray(&byte, 1));
            toUnicode[b] = s.isEmpty() ? char16_t(b) : s.at(0).unicode();
            fromUnicode.insert(toUnicode[b], byte);
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

// The byte of the character at i, or 0 when the code page lacks it; length is how many
// UTF-16 units the character takes.
char byteAt(QStringView text, qsizetype i, qsizetype* length)
{
    const char16_t c = text[i].unicode();
    *length = QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    if (c < 0x80)
        return char(c);
    if (*length == 2)
        return 0;
    const Tables& t = tables();
    const auto it = t.fromUnicode.constFind(c);
    return it != t.fromUnicode.constEnd() ? *it : 0;
}

} // namespace

QByteArray encode(QStringView text, qsizetype* replaced)
{
    QByteArray out;
    out.reserve(text.size());
    qsizetype length = 1;
    for (qsizetype i = 0; i < text.size(); i += length) {
        const char byte = byteAt(text, i, &length);
        if (byte == 0 && text[i].unicode() != 0) {
            out.append('?');
            if (replaced)
                ++*replaced;
        } else {
            out.append(byte);
        }
    }
    return out;
}

QString firstUnencodable(QStringView text)
{
    qsizetype length = 1;
    for (qsizetype i = 0; i < text.size(); i += length)
        if (byteAt(text, i, &length) == 0 && text[i].unicode() != 0)
            return text.mid(i, length).toString();
    return {};
}

QString decode(const QByteArray& bytes)
{
    const Tables& t = tables();
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(t.toUnicode[uchar(bytes[i])]);
    return out;
}

} // namespace Cp1250
