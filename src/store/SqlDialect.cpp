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

QString forFile(const QString& sql)
{
    static const QRegularExpression forUpdate(QStringLiteral("\\s+FOR\\s+UPDATE\\s*;?\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    return translate(sql).remove(forUpdate);
}

QString forServer(const QString& sql)
{
    // LIKE of the file ignores letter case; the server's ILIKE does the same. Quoted texts
    // are left as they are.
    const QString text = translate(sql);
    static const QRegularExpression like(QStringLiteral("\\bLIKE\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out;
    out.reserve(text.size() + 8);
    qsizetype plainFrom = 0;
    const auto flushPlain = [&](qsizetype until) {
        QString plain = text.mid(plainFrom, until - plainFrom);
        plain.replace(like, QStringLiteral("ILIKE"));
        out += plain;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\'')
            continue;
        flushPlain(i);
        qsizetype end = i + 1;
        while (end < text.size() &&
               !(text[end] == u'\'' && (end + 1 >= text.size() || text[end + 1] != u'\'')))
            end += text[end] == u'\'' ? 2 : 1;
        out += text.mid(i, end + 1 - i);
        i = end;
        plainFrom = end + 1;
    }
    flushPlain(text.size());
    return out;
}

QString numberedPlaceholders(const QString& sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    int number = 0;
    QChar quote; // the quote of the text or name being copied, null outside one
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            out += c;
            if (c == quote) // a doubled quote closes and opens again: same result
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            out += c;
            quote = c;
        } else if (c == u'?') {
            out += u'$' + QString::number(++number);
        } else {
            out += c;
        }
    }
    return out;
}

QString singleTableOf(const QString& sql)
{
    static const QRegularExpression plain(
        QStringLiteral(
            "^\\s*SELECT\\s+\\*\\s+FROM\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*(?:$|(?:WHERE|ORDER|LIMIT)\\b)"),
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
