#include "store/SqlDialect.h"

#include <QRegularExpression>

namespace SqlDialect {

QString translate(const QString& sql)
{
    static const QRegularExpression top(QStringLiteral("^\\s*SELECT\\s+TOP\\s+(\\d+)\\s+(.*?)\\s*;?\\s*$"),
                                        QRegularExpression::CaseInsensitiveOption |
                                            QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = top.match(sql); m.hasMatch())
        return QStringLiteral("SELECT %1 LIMIT %2").arg(m.captured(2), m.captured(1));
    return sql;
}

QString singleTableOf(const QString& sql)
{
    static const QRegularExpression plain(
        QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*(?:$|(?:WHERE|ORDER|LIMIT)\\b)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = plain.match(sql);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString escapeLike(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

QString containsPattern(const QString& text)
{
    return u'%' + escapeLike(text) + u'%';
}

} // namespace SqlDialect
