#include "report/QueryText.h"

#include "report/ReportError.h"
#include "report/UserData.h"

namespace pm41 {

namespace {

// What SQLite counts as part of a name, and so of a parameter's name after ":": letters,
// digits, "_", "$" and everything beyond ASCII. Taking the same run as the database does
// keeps the markers we bind in step with the parameters it sees.
bool isNameChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           c == u'$' || c.unicode() >= 0x80;
}

// Walks the query once, copying it to the positional form. Strings and quoted names are
// copied untouched, so a ":" or "?" inside them is no parameter. Comments are left out: Qt
// looks for :names once more before it hands the text to SQLite, and it does not know
// comments, so a :name in one would upset its count of values.
class Scanner
{
public:
    Scanner(const QString& sql, int firstLine, const QStringList& known)
        : m_sql(sql), m_line(firstLine), m_known(known)
    {
    }

    PreparedQuery run()
    {
        while (m_at < m_sql.size()) {
            const QChar c = m_sql[m_at];
            const QChar next = m_at + 1 < m_sql.size() ? m_sql[m_at + 1] : QChar();
            if (c == u'\'' || c == u'"' || c == u'`')
                copyQuoted(c);
            else if (c == u'[')
                copyBracketed();
            else if (c == u'-' && next == u'-')
                skipComment(QStringLiteral("\n"), false);
            else if (c == u'/' && next == u'*')
                skipComment(QStringLiteral("*/"), true);
            else if (c.isSpace())
                copy();
            else
                token(c, next);
        }
        if (!m_seenStatement)
            fail(m_firstLine, QStringLiteral("oddíl [dotaz] neobsahuje žádný dotaz."));
        return m_out;
    }

private:
    void copy()
    {
        if (m_sql[m_at] == u'\n')
            ++m_line;
        m_out.sql += m_sql[m_at++];
    }

    void copyQuoted(QChar quote)
    {
        const int startLine = m_line;
        copy();
        while (m_at < m_sql.size()) {
            if (m_sql[m_at] == quote) {
                copy();
                if (m_at < m_sql.size() && m_sql[m_at] == quote) { // doubled: part of the text
                    copy();
                    continue;
                }
                return;
            }
            copy();
        }
        fail(startLine, QStringLiteral("text v uvozovkách %1 není ukončen.").arg(quote));
    }

    // SQLite reads [name] as a quoted name, with no way to escape "]" inside it.
    void copyBracketed()
    {
        const int startLine = m_line;
        const qsizetype end = m_sql.indexOf(u']', m_at + 1);
        if (end < 0)
            fail(startLine, QStringLiteral("jméno v hranatých závorkách [ není ukončeno znakem ]."));
        while (m_at <= end)
            copy();
    }

    // A line comment ends before its line end, which stays; a block comment becomes a space.
    void skipComment(const QString& end, bool required)
    {
        const int startLine = m_line;
        const qsizetype found = m_sql.indexOf(end, m_at + 2);
        if (found < 0 && required)
            fail(startLine, QStringLiteral("komentář /* není ukončen znaky */."));
        const qsizetype stop = found < 0 ? m_sql.size() : (required ? found + end.size() : found);
        m_line += int(QStringView(m_sql).sliced(m_at, stop - m_at).count(u'\n'));
        m_at = stop;
        if (required)
            m_out.sql += u' ';
    }

    void token(QChar c, QChar next)
    {
        if (m_ended)
            fail(m_line,
                 QStringLiteral("za středníkem pokračuje další příkaz; dotaz sestavy smí být jen jeden."));
        if (!m_seenStatement) {
            m_seenStatement = true;
            qsizetype end = m_at;
            while (end < m_sql.size() && isNameChar(m_sql[end]))
                ++end;
            const QString word = m_sql.mid(m_at, end - m_at).toUpper();
            if (word != u"SELECT" && word != u"WITH")
                fail(m_line,
                     QStringLiteral("dotaz sestavy musí začínat slovem SELECT nebo WITH; sestava data jen "
                                    "čte. Nalezeno „%1“.")
                         .arg(m_sql.mid(m_at, qMax<qsizetype>(end - m_at, 1))));
        }
        // "$" inside a name is part of it; "@" and "#" never are.
        const bool afterName = m_at > 0 && isNameChar(m_sql[m_at - 1]);
        if (c == u';') {
            m_ended = true;
            ++m_at;
        } else if (c == u':' && next == u':') { // the server's cast, x::date
            copy();
            copy();
        } else if (c == u':' && isNameChar(next)) {
            parameter();
        } else if (c == u'?' || ((c == u'@' || c == u'#') && isNameChar(next)) ||
                   (c == u'$' && isNameChar(next) && !afterName)) {
            fail(m_line, QStringLiteral("parametr „%1“: parametry se v dotazu zapisují jako :jméno, "
                                        "např. :OtevrenyZakaznik.")
                             .arg(c));
        } else if (isNameChar(c) && !afterName) {
            word();
        } else {
            copy();
        }
    }

    // A word of the query: a keyword, a name or a number.
    void word()
    {
        qsizetype end = m_at;
        while (end < m_sql.size() && isNameChar(m_sql[end]))
            ++end;
        const QStringView text = QStringView(m_sql).sliced(m_at, end - m_at);
        if (text.compare(u"LIKE", Qt::CaseInsensitive) == 0)
            m_out.likes << m_out.sql.size();
        m_out.sql += text;
        m_at = end;
    }

    void parameter()
    {
        qsizetype end = m_at + 1;
        while (end < m_sql.size() && isNameChar(m_sql[end]))
            ++end;
        const QString name = m_sql.mid(m_at + 1, end - m_at - 1);
        if (!m_known.contains(name))
            fail(m_line, QStringLiteral("neznámý parametr „:%1“. Dotaz může použít :%2.")
                             .arg(name, m_known.join(QStringLiteral(", :"))));
        m_out.sql += u'?';
        m_out.names << name;
        m_at = end;
    }

    const QString& m_sql;
    qsizetype m_at = 0;
    int m_line;
    const int m_firstLine = m_line;
    const QStringList& m_known;
    bool m_seenStatement = false;
    bool m_ended = false;
    PreparedQuery m_out;
};

} // namespace

const QStringList& builtInParameters()
{
    static const QStringList names =
        companyNames() + QStringList{QStringLiteral("OtevrenyZakaznik"), QStringLiteral("dnes")};
    return names;
}

PreparedQuery prepareQuery(const QString& sql, int firstLine, const QStringList& known)
{
    return Scanner(sql, firstLine, known).run();
}

QString withCaselessLike(const PreparedQuery& query)
{
    QString text = query.sql;
    for (qsizetype i = query.likes.size() - 1; i >= 0; --i)
        text.insert(query.likes[i], u'I');
    return text;
}

} // namespace pm41
