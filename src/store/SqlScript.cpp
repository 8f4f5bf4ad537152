#include "store/SqlScript.h"

#include "store/DatabaseError.h"

#include <QFile>
#include <QRegularExpression>

static void ensureResources()
{
    Q_INIT_RESOURCE(store);
}

namespace SqlScript {

namespace {

// Whether a statement read so far is a trigger whose body is still open: it began with
// CREATE TRIGGER, has a BEGIN, and does not yet end with END.
bool insideTriggerBody(const QString& statement)
{
    static const QRegularExpression trigger(
        QStringLiteral("^\\s*CREATE\\s+(TEMP\\s+|TEMPORARY\\s+)?TRIGGER\\b"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression begin(QStringLiteral("\\bBEGIN\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression end(QStringLiteral("\\bEND\\s*$"),
                                        QRegularExpression::CaseInsensitiveOption);
    return trigger.match(statement).hasMatch() && begin.match(statement).hasMatch() &&
           !end.match(statement).hasMatch();
}

} // namespace

QStringList split(const QString& script)
{
    QStringList result;
    QString statement;
    const auto finish = [&] {
        const QString trimmed = statement.trimmed();
        if (!trimmed.isEmpty())
            result.append(trimmed);
        statement.clear();
    };
    const qsizetype n = script.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = script[i];
        if (c == u'-' && i + 1 < n && script[i + 1] == u'-') {
            while (i < n && script[i] != u'\n')
                ++i;
            statement += u'\n';
            continue;
        }
        if (c == u'\'') { // a quoted text, '' standing for one quote
            qsizetype end = i + 1;
            while (end < n && !(script[end] == u'\'' && (end + 1 >= n || script[end + 1] != u'\'')))
                end += script[end] == u'\'' ? 2 : 1;
            statement += script.mid(i, end + 1 - i);
            i = end;
            continue;
        }
        if (c == u'$' && i + 1 < n && script[i + 1] == u'$') { // a function body, to its closing $$
            const qsizetype close = script.indexOf(QStringLiteral("$$"), i + 2);
            const qsizetype end = close < 0 ? n : close + 2;
            statement += script.mid(i, end - i);
            i = end - 1;
            continue;
        }
        if (c == u';' && !insideTriggerBody(statement)) {
            finish();
            continue;
        }
        statement += c;
    }
    finish();
    return result;
}

QStringList fromResource(const QString& path)
{
    ensureResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Schéma databáze chybí v programu."));
    return split(QString::fromUtf8(file.readAll()));
}

} // namespace SqlScript
