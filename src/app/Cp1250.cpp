#include "app/Cp1250.h"

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

} // namespace

QByteArray encode(QStringView text)
{
    const Tables& t = tables();
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            out.append(char(c.unicode()));
            continue;
        }
        const auto it = t.fromUnicode.constFind(c.unicode());
        out.append(it != t.fromUnicode.constEnd() ? *it : '?');
    }
    return out;
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
